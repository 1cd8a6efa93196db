// Everything the logic asks of the user goes through a Prompter: message boxes with their
// captions, icons and answers, the one-line input dialog, and file and folder choosers. Texts
// are UTF-8. The windows implement it with Qt dialogs; tests use a scripted fake.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duvelin {

class Prompter {
 public:
  enum class Icon { None, Information, Warning, Error, Question };
  enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
  enum class Answer { Ok, Cancel, Yes, No };

  virtual ~Prompter() = default;

  virtual Answer ShowMessage(std::string_view text, std::string_view caption, Buttons buttons,
                             Icon icon) = 0;

  // The one-line input dialog; nothing when the user cancels.
  virtual std::optional<std::string> AskLine(std::string_view caption, std::string_view prompt,
                                             std::string_view initial) = 0;

  // `filter` is a Qt-style name filter such as "阅读包 (*.red)".
  virtual std::optional<std::string> ChooseOpenFile(std::string_view caption, std::string_view filter) = 0;
  virtual std::optional<std::string> ChooseSaveFile(std::string_view caption, std::string_view filter) = 0;
  virtual std::optional<std::string> ChooseFolder(std::string_view caption) = 0;

  // Shorthands for the common boxes.
  void Inform(std::string_view text, std::string_view caption) {
    ShowMessage(text, caption, Buttons::Ok, Icon::Information);
  }
  void ShowError(std::string_view text, std::string_view caption) {
    ShowMessage(text, caption, Buttons::Ok, Icon::Error);
  }
  bool AskYesNo(std::string_view text, std::string_view caption, Icon icon = Icon::Question) {
    return ShowMessage(text, caption, Buttons::YesNo, icon) == Answer::Yes;
  }
};

}  // namespace duvelin
