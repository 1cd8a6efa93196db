// The windows of the program, created once at start in the fixed order and kept until the end:
// the main window, the exit dialog, the trainer, the battle window, the content store, the
// settings window and the authoring window. Each window's creation handler runs as part of
// its creation; the first one that fails stops the sequence.
#pragma once

#include <memory>

#include "common/result.h"
#include "shell/qt/shell_services.h"

namespace duvelin {

class TData2;
class TForm1;
class TForm_chinese;
class TForm_create_read;
class TForm_exit;
class TForm_pop;
class TForm_set;

class ApplicationWindows {
 public:
  explicit ApplicationWindows(ShellServices& services);
  ~ApplicationWindows();
  ApplicationWindows(const ApplicationWindows&) = delete;
  ApplicationWindows& operator=(const ApplicationWindows&) = delete;

  // Creates every window in order. A failure has already been shown to the user.
  Status CreateAll();

  TForm1* MainWindow() const { return m_main.get(); }
  TForm_exit* ExitDialog() const { return m_exit.get(); }
  TForm_chinese* Trainer() const { return m_trainer.get(); }
  TForm_pop* BattleWindow() const { return m_battle.get(); }
  TData2* ContentStore() const { return m_content.get(); }
  TForm_set* SettingsWindow() const { return m_settings.get(); }
  TForm_create_read* AuthoringWindow() const { return m_authoring.get(); }

 private:
  ShellServices& m_services;
  // Destroyed in reverse order of creation; the dialogs owned by the main window go first.
  std::unique_ptr<TForm1> m_main;
  std::unique_ptr<TForm_exit> m_exit;
  std::unique_ptr<TForm_chinese> m_trainer;
  std::unique_ptr<TForm_pop> m_battle;
  std::unique_ptr<TData2> m_content;
  std::unique_ptr<TForm_set> m_settings;
  std::unique_ptr<TForm_create_read> m_authoring;
};

}  // namespace duvelin
