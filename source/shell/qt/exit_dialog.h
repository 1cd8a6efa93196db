// The exit dialog TForm_exit, made once at start and shown modally, centred on the screen, when
// the main window is asked to close. Its four buttons answer 1 (hide the game into the desktop
// word trainer), 6 (save and exit; never shown), 7 (exit at once) and 2 (go on learning), and
// so does its close box (2). Which buttons are enabled is the close query's to say.
#pragma once

#include <QDialog>

#include <map>

#include "shell/exit_rules.h"

class QPushButton;

namespace duvelin {

class TForm_exit final : public QDialog {
 public:
  explicit TForm_exit(QWidget* parent = nullptr);

  // Enables the buttons for these conditions, shows the dialog modally and answers the result
  // of the button chosen.
  int Ask(const ExitConditions& conditions);

  QPushButton* Button(ExitResult result) const;

  // The close box and Escape: go on learning.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::map<ExitResult, QPushButton*> m_buttons;
};

}  // namespace duvelin
