#include "shell/error_trap.h"

#include "common/gbk_text.h"

namespace duvelin {
namespace {

constexpr std::string_view kCaption = "错误";

constexpr std::string_view kNotRegisteredQuestion =
    "朗读引擎发出错误信息，类别没有注册，出现该问题，大多是由于tts引擎安装不正确引起，有道网络发音自动启用，"
    "如果本机能上网，单词朗读没问题。点击是，查看解决方法";

constexpr std::string_view kOleErrorQuestion =
    "朗读引擎发出错误信息，OLE 错误，出现该问题，大多是由于tts引擎安装不正确或者声卡驱动有问题(注：有些TTS朗读"
    "引擎安装时如果更改了安装路径也可能导致此问题)，有道网络发音自动启用，如果本机能上网，单词朗读没问题。点击是，"
    "查看解决方法";

constexpr std::string_view kBrowserQuestion = "浏览器组件出现错误信息，点击是，查看解决方法";

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace

ErrorTrap::ErrorTrap(Prompter& prompter, TGameOptions& options, HelpOpener openHelp)
    : m_prompter(prompter), m_options(options), m_openHelp(std::move(openHelp)) {}

void ErrorTrap::AskAndOpenHelp(std::string_view question) {
  if (m_prompter.AskYesNo(question, kCaption) && m_openHelp) m_openHelp(kTroubleshootingPage);
}

ErrorTrap::Outcome ErrorTrap::Handle(std::string_view message) {
  if (Contains(message, "参数错误")) {
    const BattleWordLine word = m_wordSource ? m_wordSource->CurrentWord() : BattleWordLine{};
    std::string text = "您单词本内第" + std::to_string(static_cast<int64_t>(word.index) + 1) + "单词：" +
                       GbkToUtf8(word.libraryLine) +
                       "没有等于号分割或者等于号前面包含有中文标点字符。或者如果您使用的是中文词库那么您需要安装并在"
                       "游戏内设置使用中文朗读引擎。";
    m_prompter.ShowMessage(text, kCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
    return Outcome::SpeechInvalidArgument;
  }
  if (Contains(message, "注册")) {
    m_options.speech.yodao_sound = 1;
    AskAndOpenHelp(kNotRegisteredQuestion);
    return Outcome::SpeechNotRegistered;
  }
  if (Contains(message, "OLE error 800")) {
    m_options.speech.yodao_sound = 1;
    AskAndOpenHelp(kOleErrorQuestion);
    return Outcome::SpeechOleError;
  }
  if (!Contains(message, "mshtml")) {
    std::string text = "程序出现了错误，错误信息为：" + std::string(message) + "。该错误已经被截获。";
    m_prompter.ShowMessage(text, kCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
    return Outcome::ProgramError;
  }
  ++m_browserErrors;
  if (m_browserErrors != 1) return Outcome::BrowserErrorIgnored;
  AskAndOpenHelp(kBrowserQuestion);
  return Outcome::BrowserFirstError;
}

}  // namespace duvelin
