// The start-up order, the splash's progress texts, the left column's controls and the shared
// menu as the windows build them, and the process start time read from /proc.
#include <gtest/gtest.h>

#include "shell/main_window_controls.h"
#include "shell/process_clock.h"
#include "shell/startup_order.h"

namespace duvelin {
namespace {

TEST(StartupOrder, WindowsAndProgressTextsInTheirOrder) {
  EXPECT_EQ(StartupWindowClasses(), (std::vector<std::string_view>{"TForm1", "TForm_exit", "TForm_chinese", "TForm_pop",
                                                                   "TData2", "TForm_set", "TForm_create_read"}));
  EXPECT_EQ(BattleWindowProgressTexts(),
            (std::vector<std::string_view>{"初始化DirectX设备……5%", "加载配置信息……20%", "注册快捷键……35%",
                                           "初始化单词表……50%", "加载图片资源……65%", "载入abhs表……80%",
                                           "载入声音效果……85%"}));
}

TEST(MainWindowControls, KeysAndHintsOfTheLeftColumn) {
  std::vector<std::string_view> keys;
  for (const ReaderControl& control : ReaderControls())
    if (!control.key.empty()) keys.push_back(control.key);
  EXPECT_EQ(keys, (std::vector<std::string_view>{"F2", "F5", "F4", "F6", "F7", "F8", "F1", "F9"}));
  EXPECT_EQ(ReaderControls()[5].caption, "中英文切换-  全文 F7");
  for (const ReaderControl& control : ReaderControls())
    EXPECT_EQ(control.hint.empty(), control.command == ShellCommand::Help) << control.caption;
}

TEST(MainWindowControls, SharedMenuSeparatorsAndHiddenItems) {
  std::string layout;
  for (const MenuEntry& entry : SharedMenuEntries()) layout += entry.IsSeparator() ? "-" : "x";
  EXPECT_EQ(layout, "xxx-xx-xxxx-xxx-xx");
  const MenuEntry& games = SharedMenuEntries()[2];
  ASSERT_EQ(games.children.size(), 2u);
  std::vector<int> gomokuLevels;
  std::vector<std::string_view> hidden;
  for (const MenuEntry& level : games.children[1].children) {
    gomokuLevels.push_back(level.level);
    if (level.visibility == MenuVisibility::Hidden) hidden.push_back(level.caption);
  }
  EXPECT_EQ(gomokuLevels, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(hidden, (std::vector<std::string_view>{"中级", "高级"}));
  EXPECT_EQ(SharedMenuEntries()[0].visibility, MenuVisibility::Hidden);
}

TEST(ProcessClock, StartTimeIsField22EvenWithBlanksInTheName) {
  EXPECT_EQ(StartTimeTicksFromStat("1234 (duvelin) S 1 1234 1234 0 -1 4194560 100 0 0 0 1 2 0 0 20 0 1 0 98765 1000 "
                                   "10 18446744073709551615"),
            98765u);
  EXPECT_EQ(StartTimeTicksFromStat("7 (a b) c) R 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 4242 1"), 4242u);
  EXPECT_EQ(StartTimeTicksFromStat("7 (short) R 1 2"), std::nullopt);
  EXPECT_EQ(StartTimeTicksFromStat(""), std::nullopt);
  EXPECT_GE(MillisecondsSinceProcessStart(), 0);
}

}  // namespace
}  // namespace duvelin
