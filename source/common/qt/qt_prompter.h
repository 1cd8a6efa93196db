// The Prompter of the windows: message boxes, the one-line input dialog and the file and
// folder choosers, each parented to the window that is active at that moment (or to a
// fallback window when none is).
#pragma once

#include <QPointer>
#include <QWidget>

#include "common/prompter.h"

namespace duvelin {

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* fallbackParent = nullptr) : m_fallbackParent(fallbackParent) {}

  void SetFallbackParent(QWidget* parent) { m_fallbackParent = parent; }

  Answer ShowMessage(std::string_view text, std::string_view caption, Buttons buttons, Icon icon) override;
  std::optional<std::string> AskLine(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view caption, std::string_view filter) override;
  std::optional<std::string> ChooseSaveFile(std::string_view caption, std::string_view filter) override;
  std::optional<std::string> ChooseFolder(std::string_view caption) override;

 private:
  QWidget* Parent() const;

  QPointer<QWidget> m_fallbackParent;
};

}  // namespace duvelin
