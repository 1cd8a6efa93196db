#include "trainer/qt/trainer_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "battle/qt/battle_window.h"
#include "common/qt/qt_message_poster.h"
#include "common/qt/qt_text.h"
#include "shell/qt/shell_services.h"

namespace duvelin {
namespace {

QFont SongFont(int pixels) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  return font;
}

constexpr TrainerOption kMenuOptions[] = {TrainerOption::SpeakLetters, TrainerOption::SpeakWord,
                                          TrainerOption::SpeakChinese, TrainerOption::WholeChinese};
constexpr const char* kOptionCaptions[] = {kMenuSpeakLetters, kMenuSpeakWord, kMenuSpeakChinese, kMenuWholeChinese};

}  // namespace

TForm_chinese::TForm_chinese(ShellServices& services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_services(services) {
  setObjectName(QStringLiteral("TForm_chinese"));
  setWindowTitle(FromUtf8(kTrainerCaption));
  setFont(SongFont(16));
  setGeometry(kTrainerLeft, kTrainerTop, kTrainerWidth, kTrainerHeight);

  m_english = new QLabel(QStringLiteral("English"), this);
  m_english->setObjectName(QStringLiteral("EnglishLabel"));
  m_english->setFont(SongFont(24));
  m_english->setGeometry(10, 8, 370, 40);
  m_chinese = new QLabel(FromUtf8("中文"), this);
  m_chinese->setObjectName(QStringLiteral("ChineseLabel"));
  m_chinese->setFont(SongFont(19));
  m_chinese->setGeometry(10, 56, 450, 76);
  m_chinese->setWordWrap(true);
  m_chinese->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_menuButton = new QPushButton(FromUtf8(kTrainerMenuButton), this);
  m_menuButton->setObjectName(QStringLiteral("MenuButton"));
  m_menuButton->setGeometry(390, 10, 70, 28);

  BuildMenu();
  connect(m_menuButton, &QPushButton::clicked, this,
          [this] { m_menu->popup(m_menuButton->mapToGlobal(QPoint(0, 0))); });

  m_chineseVoice = services.speech.MakeVoice();
  services.poster.Register(MessageTarget::Trainer, this);
}

TForm_chinese::~TForm_chinese() {
  // The trainer lets go of the voice before the voice goes.
  m_trainer.reset();
}

void TForm_chinese::BuildMenu() {
  m_menu = new QMenu(this);
  m_menu->addAction(FromUtf8(kMenuShowGame), this, [this] {
    if (m_trainer) m_trainer->ShowGameWindow();
  });
  m_menu->addAction(FromUtf8(kMenuHide), this, [this] {
    if (m_trainer) m_trainer->Hide();
    hide();
  });
  m_menu->addAction(FromUtf8(kMenuClose), this, [this] {
    if (m_trainer) m_trainer->CloseForThisRun();
    close();
  });
  m_menu->addAction(FromUtf8(kMenuEnglishEngine), this, [this] {
    if (!m_settingsWindow) return;
    m_settingsWindow->show();
    m_settingsWindow->raise();
  });
  m_menu->addSeparator();
  for (size_t i = 0; i < std::size(kMenuOptions); ++i) {
    const TrainerOption option = kMenuOptions[i];
    m_optionActions[i] = m_menu->addAction(FromUtf8(kOptionCaptions[i]), this, [this, option] { ToggleOption(option); });
    m_optionActions[i]->setCheckable(true);
    m_optionActions[i]->setChecked(true);
  }
  m_menu->addSeparator();
  m_pauseAction = m_menu->addAction(FromUtf8(kMenuPause), this, [this] {
    if (!m_trainer) return;
    m_trainer->TogglePause();
    UpdateMenu();
  });
}

void TForm_chinese::UpdateMenu() {
  if (!m_trainer) return;
  for (size_t i = 0; i < std::size(kMenuOptions); ++i)
    m_optionActions[i]->setChecked(m_trainer->Options().IsOn(kMenuOptions[i]));
  m_optionActions[2]->setText(FromUtf8(m_trainer->ChineseOptionCaption()));
  m_pauseAction->setText(FromUtf8(m_trainer->PauseCaption()));
}

void TForm_chinese::ToggleOption(TrainerOption option) {
  if (!m_trainer) return;
  const Status saved = m_trainer->ToggleOption(option);
  UpdateMenu();
  if (!saved) m_services.prompter.ShowError(saved.message(), "错误");
}

void TForm_chinese::AttachBattleWindow(TForm_pop& battleWindow) {
  if (!battleWindow.Libraries() || !battleWindow.Pronouncer()) return;
  m_trainer = std::make_unique<DesktopTrainer>(m_services.folder, m_services.scheduler, *m_chineseVoice.engine,
                                               *battleWindow.Pronouncer(), *battleWindow.Libraries(),
                                               static_cast<TrainerDisplay&>(*this),
                                               m_services.poster, m_services.prompter, m_services.random,
                                               m_services.options.general);
  m_trainer->SetEndOfReadingHandler([this] {
    if (m_endOfReading) m_endOfReading();
  });
  m_trainer->SetTipsPageHandler([&battleWindow] { battleWindow.ShowTipsPage(); });
  UpdateMenu();
  if (isVisible()) m_trainer->Show();
}

void TForm_chinese::SetEndOfReadingHandler(std::function<void()> handler) { m_endOfReading = std::move(handler); }

void TForm_chinese::SpeakChinese(const std::string& gbkText) {
  if (m_trainer) m_trainer->SpeakChinese(gbkText);
}

void TForm_chinese::StopChinese() {
  if (m_trainer) m_trainer->StopChinese();
}

void TForm_chinese::ShowWord(const std::string& english, const std::string& chinese) {
  m_english->setText(FromGbk(english));
  m_chinese->setText(FromGbk(chinese));
  // The word is on screen before its letters are heard. Painting at once is enough: running
  // the event loop here could hand the trainer an end of speech in the middle of its step.
  m_english->repaint();
  m_chinese->repaint();
}

bool TForm_chinese::event(QEvent* event) {
  if (event->type() == PrivateMessageEvent::EventType()) {
    const PrivateMessage& message = static_cast<PrivateMessageEvent*>(event)->Message();
    if (message.number == MSG_SPEECH_DONE) {
      if (m_trainer)
        m_trainer->OnSpeechDone(message.wParam);
      else if (m_endOfReading)
        m_endOfReading();
    }
    return true;
  }
  return QWidget::event(event);
}

void TForm_chinese::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_trainer) m_trainer->Show();
}

void TForm_chinese::closeEvent(QCloseEvent* event) {
  if (m_trainer) m_trainer->Close();
  QWidget::closeEvent(event);
}

}  // namespace duvelin
