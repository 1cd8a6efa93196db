// The desktop word trainer TForm_chinese: a small window on top of the others that shows the
// word being practised, English above and Chinese below, with its "菜单" menu. It owns the
// Chinese voice and the trainer, receives MSG_SPEECH_DONE, the one end-of-speech message of
// the program, and hands it to the trainer. The word cycle and the menu's work are the
// trainer's; this window only shows and forwards.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "shell/qt/speech_devices.h"
#include "trainer/desktop_trainer.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace duvelin {

struct ShellServices;
class TForm_pop;

class TForm_chinese final : public QWidget, private TrainerDisplay {
 public:
  // Creation: the Chinese voice is made; the trainer follows once the battle window exists.
  explicit TForm_chinese(ShellServices& services, QWidget* parent = nullptr);
  ~TForm_chinese() override;

  // The trainer on the battle window's libraries and English pronunciation. Reads the options
  // file and takes the first Chinese voice; the menu shows what was found.
  void AttachBattleWindow(TForm_pop& battleWindow);
  // The settings window that "英文朗读引擎设置" shows, not modally.
  void SetSettingsWindow(QWidget* window) { m_settingsWindow = window; }
  // Run first on every end of speech: the reader's end of reading.
  void SetEndOfReadingHandler(std::function<void()> handler);

  // The Chinese voice for the reader and the game; nothing without one.
  void SpeakChinese(const std::string& gbkText);
  void StopChinese();

  // Null until the battle window is attached.
  DesktopTrainer* Trainer() const { return m_trainer.get(); }
  QMenu& Menu() const { return *m_menu; }
  QPushButton& MenuButton() const { return *m_menuButton; }
  QLabel& EnglishLabel() const { return *m_english; }
  QLabel& ChineseLabel() const { return *m_chinese; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowWord(const std::string& english, const std::string& chinese) override;
  void BuildMenu();
  void UpdateMenu();
  void ToggleOption(TrainerOption option);

  ShellServices& m_services;
  OwnedVoice m_chineseVoice;
  std::unique_ptr<DesktopTrainer> m_trainer;
  std::function<void()> m_endOfReading;
  QWidget* m_settingsWindow = nullptr;

  QLabel* m_english = nullptr;
  QLabel* m_chinese = nullptr;
  QPushButton* m_menuButton = nullptr;
  QMenu* m_menu = nullptr;
  QAction* m_optionActions[4] = {nullptr, nullptr, nullptr, nullptr};
  QAction* m_pauseAction = nullptr;
};

}  // namespace duvelin
