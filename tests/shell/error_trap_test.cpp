// The error trap: which message text becomes which box, the options it switches, the help page
// and the one question about the browser component.
#include <gtest/gtest.h>

#include "shell/error_trap.h"
#include "support/fake_prompter.h"

namespace duvelin {
namespace {

using testing::FakePrompter;
using Outcome = ErrorTrap::Outcome;

constexpr char kNotRegistered[] =
    "朗读引擎发出错误信息，类别没有注册，出现该问题，大多是由于tts引擎安装不正确引起，有道网络发音自动启用，"
    "如果本机能上网，单词朗读没问题。点击是，查看解决方法";
constexpr char kOle[] =
    "朗读引擎发出错误信息，OLE 错误，出现该问题，大多是由于tts引擎安装不正确或者声卡驱动有问题(注：有些TTS朗读"
    "引擎安装时如果更改了安装路径也可能导致此问题)，有道网络发音自动启用，如果本机能上网，单词朗读没问题。点击是，"
    "查看解决方法";
constexpr char kBrowser[] = "浏览器组件出现错误信息，点击是，查看解决方法";

struct WordAt : CurrentWordSource {
  BattleWordLine word;
  BattleWordLine CurrentWord() const override { return word; }
};

class ErrorTrapTest : public ::testing::Test {
 protected:
  FakePrompter prompter;
  TGameOptions options;
  std::vector<std::string> opened;
  ErrorTrap trap{prompter, options, [this](std::string_view page) { opened.emplace_back(page); }};
};

TEST_F(ErrorTrapTest, MessageTextsChooseTheCaseInOrder) {
  struct Case {
    std::string message;
    Outcome outcome;
    std::string shown;
    Prompter::Buttons buttons;
    bool onlinePronunciationOn;
  };
  const std::vector<Case> cases = {
      {"SpVoice: 参数错误", Outcome::SpeechInvalidArgument,
       "您单词本内第1单词：没有等于号分割或者等于号前面包含有中文标点字符。或者如果您使用的是中文词库那么您需要安装并在"
       "游戏内设置使用中文朗读引擎。",
       Prompter::Buttons::Ok, false},
      {"没有注册类别", Outcome::SpeechNotRegistered, kNotRegistered, Prompter::Buttons::YesNo, true},
      // A speech-engine complaint wins over the browser component named beside it.
      {"mshtml.dll: 没有注册类", Outcome::SpeechNotRegistered, kNotRegistered, Prompter::Buttons::YesNo, true},
      {"OLE error 80004005", Outcome::SpeechOleError, kOle, Prompter::Buttons::YesNo, true},
      {"参数错误 and 注册", Outcome::SpeechInvalidArgument, "", Prompter::Buttons::Ok, false},
      {"List index out of bounds (3)", Outcome::ProgramError,
       "程序出现了错误，错误信息为：List index out of bounds (3)。该错误已经被截获。", Prompter::Buttons::Ok, false},
      {"", Outcome::ProgramError, "程序出现了错误，错误信息为：。该错误已经被截获。", Prompter::Buttons::Ok, false},
      {"OLE error 700", Outcome::ProgramError, "程序出现了错误，错误信息为：OLE error 700。该错误已经被截获。",
       Prompter::Buttons::Ok, false},
      {"Access violation in module mshtml.dll", Outcome::BrowserFirstError, kBrowser, Prompter::Buttons::YesNo,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FakePrompter fresh;
    TGameOptions record;
    ErrorTrap oneTrap(fresh, record, {});
    EXPECT_EQ(oneTrap.Handle(c.message), c.outcome);
    ASSERT_EQ(fresh.shown.size(), 1u);
    if (!c.shown.empty()) EXPECT_EQ(fresh.shown[0].text, c.shown);
    EXPECT_EQ(fresh.shown[0].caption, "错误");
    EXPECT_EQ(fresh.shown[0].buttons, c.buttons);
    EXPECT_EQ(record.speech.yodao_sound, c.onlinePronunciationOn ? 1 : 0);
  }
}

TEST_F(ErrorTrapTest, InvalidArgumentNamesTheBattleWindowsCurrentWord) {
  WordAt source;
  source.word = {41, "apple=\xC6\xBB\xB9\xFB"};  // 苹果
  trap.SetWordSource(&source);
  trap.Handle("参数错误");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "您单词本内第42单词：apple=苹果没有等于号分割或者等于号前面包含有中文标点字符。或者如果您使用的是中文词库那么您"
            "需要安装并在游戏内设置使用中文朗读引擎。");
}

TEST_F(ErrorTrapTest, YesOpensTheHelpPageAndNoDoesNot) {
  prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::No, Prompter::Answer::Yes};
  trap.Handle("类没有注册");
  trap.Handle("OLE error 800401F3");
  trap.Handle("mshtml: error");
  EXPECT_EQ(opened, (std::vector<std::string>{kTroubleshootingPage, kTroubleshootingPage}));
}

TEST_F(ErrorTrapTest, TwoBrowserErrorsAskOneQuestion) {
  EXPECT_EQ(trap.Handle("mshtml.dll access violation"), Outcome::BrowserFirstError);
  EXPECT_EQ(trap.Handle("mshtml.dll access violation"), Outcome::BrowserErrorIgnored);
  EXPECT_EQ(trap.Handle("another mshtml failure"), Outcome::BrowserErrorIgnored);
  EXPECT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(trap.BrowserErrorCount(), 3);
  // Other errors are still shown after them.
  EXPECT_EQ(trap.Handle("disk full"), Outcome::ProgramError);
  EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(ErrorTrapTest, OnlinePronunciationStaysOnOnceSwitched) {
  trap.Handle("注册");
  trap.Handle("something else");
  EXPECT_EQ(options.speech.yodao_sound, 1);
}

}  // namespace
}  // namespace duvelin
