#include "shell/startup_order.h"

namespace duvelin {

const std::vector<std::string_view>& StartupWindowClasses() {
  static const std::vector<std::string_view> classes = {
      "TForm1", "TForm_exit", "TForm_chinese", "TForm_pop", "TData2", "TForm_set", "TForm_create_read",
  };
  return classes;
}

const std::vector<std::string_view>& BattleWindowProgressTexts() {
  static const std::vector<std::string_view> texts = {
      "初始化DirectX设备……5%", kSettingsLoadProgress, kShortcutProgress, "初始化单词表……50%",
      "加载图片资源……65%",    "载入abhs表……80%",     "载入声音效果……85%",
  };
  return texts;
}

}  // namespace duvelin
