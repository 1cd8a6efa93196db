// The application-wide error trap: every error that no handler caught ends here with its
// message text and becomes a message box (or, for browser-component errors after the first,
// nothing); the work that raised it is abandoned and the program goes on. It also counts the
// browser-component errors. Opening the help page is left to the caller's hook.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/prompter.h"
#include "settings/game_options.h"

namespace duvelin {

// The word-battle window's current word, named when the speech engine rejects a word.
struct BattleWordLine {
  int32_t index = 0;        // position of the word in the current library
  std::string libraryLine;  // the library's line for it, GBK
};

// Where the trap asks for that word; the battle window provides it once it exists.
class CurrentWordSource {
 public:
  virtual ~CurrentWordSource() = default;
  virtual BattleWordLine CurrentWord() const = 0;
};

// The page that the questions' "Yes" opens: the troubleshooting part of the bundled help.
inline constexpr char kTroubleshootingPage[] = "dat\\help.htm";

class ErrorTrap {
 public:
  enum class Outcome {
    SpeechInvalidArgument,  // "参数错误"
    SpeechNotRegistered,    // "注册"
    SpeechOleError,         // "OLE error 800"
    ProgramError,           // anything that is not a browser-component error
    BrowserFirstError,      // the one question about the browser component
    BrowserErrorIgnored,    // later browser-component errors
  };

  using HelpOpener = std::function<void(std::string_view dataPath)>;

  // `options` is the options record whose yodao_sound the speech-engine cases switch on.
  ErrorTrap(Prompter& prompter, TGameOptions& options, HelpOpener openHelp);

  // Nothing (the default) stands for a battle window without a current word: index 0, no line.
  void SetWordSource(const CurrentWordSource* source) { m_wordSource = source; }

  // Handles one uncaught error; `message` is its text, UTF-8.
  Outcome Handle(std::string_view message);

  int32_t BrowserErrorCount() const { return m_browserErrors; }

 private:
  void AskAndOpenHelp(std::string_view question);

  Prompter& m_prompter;
  TGameOptions& m_options;
  HelpOpener m_openHelp;
  const CurrentWordSource* m_wordSource = nullptr;
  int32_t m_browserErrors = 0;
};

}  // namespace duvelin
