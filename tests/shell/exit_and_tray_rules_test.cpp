// The exit dialog's enablement and what each of its results does to the close query; which
// minimise goes to the tray; what each mouse message of the tray callback asks for, minimised
// or not; the tray tip cut to 63 characters without splitting one.
#include <gtest/gtest.h>

#include "shell/exit_rules.h"
#include "shell/tray_rules.h"

namespace duvelin {
namespace {

TEST(ExitRules, EnablementFollowsTheOptionTheChangesAndOnlinePlay) {
  struct Case {
    ExitConditions conditions;
    bool hideToTrainer, saveAndExit;
  };
  const Case cases[] = {
      {{false, false, false}, false, false},
      {{true, false, false}, true, false},
      {{false, true, false}, false, true},
      {{true, true, true}, true, false},  // online: no saving
      {{false, false, true}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.conditions.minimiseToTrainer << c.conditions.unsavedChanges
                                    << c.conditions.online);
    EXPECT_EQ(ExitButtonEnabled(ExitResult::HideToTrainer, c.conditions), c.hideToTrainer);
    EXPECT_EQ(ExitButtonEnabled(ExitResult::SaveAndExit, c.conditions), c.saveAndExit);
    EXPECT_TRUE(ExitButtonEnabled(ExitResult::ExitAtOnce, c.conditions));
    EXPECT_TRUE(ExitButtonEnabled(ExitResult::GoOnLearning, c.conditions));
  }
}

TEST(ExitRules, OnlyOneAndTwoKeepTheWindow) {
  struct Case {
    int result;
    CloseDecision decision;
  };
  const Case cases[] = {
      {1, CloseDecision::RefuseAndMinimise}, {2, CloseDecision::Refuse}, {6, CloseDecision::SaveThenClose},
      {7, CloseDecision::Close},             {0, CloseDecision::Close},  {3, CloseDecision::Close},
      {-1, CloseDecision::Close},
  };
  for (const Case& c : cases) EXPECT_EQ(DecideClose(c.result), c.decision) << c.result;
}

TEST(TrayRules, MinimiseGoesToTheTrayOnlyWithTheOption) {
  GeneralOptions options;
  EXPECT_EQ(MinimiseKindFor(options), MinimiseKind::Normal);
  options.desktop_word = 1;
  EXPECT_EQ(MinimiseKindFor(options), MinimiseKind::ToTray);
}

TEST(TrayRules, MouseMessages) {
  struct Case {
    intptr_t mouseMessage;
    bool minimised;
    TrayRequest request;
  };
  const Case cases[] = {
      {513, true, TrayRequest::Restore},  {513, false, TrayRequest::Restore},
      {515, true, TrayRequest::Restore},  {515, false, TrayRequest::None},
      {516, true, TrayRequest::ShowMenu}, {516, false, TrayRequest::ShowMenu},
      {514, true, TrayRequest::None},     {517, true, TrayRequest::None},
      {512, true, TrayRequest::None},     {0, true, TrayRequest::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TrayRequestFor(c.mouseMessage, c.minimised), c.request) << c.mouseMessage << " " << c.minimised;
}

TEST(TrayRules, TipKeepsAtMost63Characters) {
  EXPECT_EQ(TrayTip("Duvelin 1.2"), "Duvelin 1.2");
  EXPECT_EQ(TrayTip(""), "");
  const std::string ascii63(63, 'a');
  EXPECT_EQ(TrayTip(ascii63), ascii63);
  EXPECT_EQ(TrayTip(ascii63 + "b"), ascii63);
  // Three-byte characters: 63 of them whole, the 64th gone entirely.
  std::string chinese;
  for (int i = 0; i < 64; ++i) chinese += "词";
  EXPECT_EQ(TrayTip(chinese), chinese.substr(0, 63 * 3));
  EXPECT_EQ(TrayTip("a" + chinese), "a" + chinese.substr(0, 62 * 3));
}

}  // namespace
}  // namespace duvelin
