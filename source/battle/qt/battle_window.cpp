#include "battle/qt/battle_window.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "battle/pronunciation.h"
#include "battle/word_library_state.h"
#include "common/clock.h"
#include "common/qt/qt_text.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/qt/web_browser.h"
#include "script/game_session.h"
#include "settings/settings_store.h"
#include "shell/qt/main_window.h"
#include "shell/startup_order.h"

namespace duvelin {
namespace {

// The step after which the library list exists and fills the library box.
constexpr std::string_view kLibraryListProgress = "载入abhs表……80%";

// Every this many words and right answers one tip page is opened.
constexpr int kTipsPageEvery = 15;
constexpr int kTipsPageCount = 20;

}  // namespace

// Web pages and folders of the libraries go to the desktop's own programs.
class TForm_pop::DesktopOpener final : public ExternalOpener {
 public:
  explicit DesktopOpener(ShellServices& services) : m_services(services) {}
  void OpenWebPage(std::string_view address) override { m_services.OpenExternal(QUrl(FromUtf8(address))); }
  void OpenFolder(const std::filesystem::path& folder) override {
    m_services.OpenExternal(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
  }

 private:
  ShellServices& m_services;
};

TForm_pop::TForm_pop(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm_pop"));
  resize(713, 602);
  m_libraryBox = new QComboBox(this);
  m_libraryBox->setObjectName(QStringLiteral("LibraryBox"));
  m_libraryBox->setGeometry(440, 8, 200, 22);
}

TForm_pop::~TForm_pop() {
  // The service goes before the voice, sockets and outputs it uses.
  m_pronunciation.reset();
}

Status TForm_pop::OnCreate(ShellServices& services, TForm1& mainWindow) {
  m_services = &services;
  m_mainWindow = &mainWindow;
  for (std::string_view step : BattleWindowProgressTexts()) {
    services.ReportProgress(step);
    if (step == kSettingsLoadProgress) {
      Status loaded = LoadStartupSettings(services.folder, services.options, services.random);
      if (!loaded) {
        services.prompter.ShowError(loaded.message(), kStartupErrorCaption);
        return loaded;
      }
      const GeneralOptions& general = services.options.general;
      mainWindow.ApplyReaderOptions(general.quci_guangbiao ? PickingMode::ByCaret : PickingMode::ByMouse,
                                    general.langdu_gaoliang ? ReadingHighlight::On : ReadingHighlight::Off);
      CreatePronunciation(services);
    } else if (step == kShortcutProgress) {
      mainWindow.ApplyReaderFont(services.options.general.readerFont);
    } else if (step == kLibraryListProgress) {
      m_clock = std::make_unique<SystemClock>();
      m_opener = std::make_unique<DesktopOpener>(services);
      m_libraries = std::make_unique<WordLibraryState>(services.folder, services.prompter, *m_clock, services.random,
                                                       *m_opener);
      m_libraries->FillLibraryList();
      // The built-in library until the window's saved state names the one of the last run.
      m_libraries->SelectLibraryAtStart(0);
      LibraryListChanged();
    }
  }
  // The reader's new-word book adds its entry to these libraries.
  mainWindow.SetBattleWindow(this);
  return Status::Ok();
}

void TForm_pop::CreatePronunciation(ShellServices& services) {
  m_englishVoice = services.speech.MakeVoice();
  SpeechEngine& voice = *m_englishVoice.engine;
  // The voice the settings chose, as the settings window selects it at start.
  const int chosen = services.options.speech.game_tts_index;
  if (chosen >= 0 && static_cast<size_t>(chosen) < voice.Voices().size()) (void)voice.SetVoice(static_cast<size_t>(chosen));
  m_recordings = services.speech.MakeAudioOutput();
  m_socket = services.speech.MakeUdpSocket();
  m_resolver = services.speech.MakeHostResolver();
  m_http = services.speech.MakeHttpClient();
  m_pronunciation = std::make_unique<Pronunciation>(services.folder, voice, *m_socket, *m_resolver, *m_http,
                                                    *m_recordings, services.poster, services.random);
  m_pronunciation->SetSettings(PronunciationSettings::FromOptions(services.options.speech));
  // Without any voice English cannot be read aloud.
  if (voice.Voices().empty()) m_readAloudEnabled = false;
}

void TForm_pop::ShowTipsPage() {
  if (!m_mainWindow || !m_services) return;
  if (m_mainWindow->Game().Notices().Advertisement().state == 1) return;
  if (++m_doneCount % kTipsPageEvery != 0) return;
  const int page = m_services->random.Between(1, kTipsPageCount);
  // The battle window's own web strip comes with its battles; the main window's browser
  // shows the page when the settings ask for it.
  if (m_services->options.general.show_ad_web)
    m_mainWindow->BrowserBand().Navigate(std::string(kTipPagePrefix) + std::to_string(page) + ".htm");
}

void TForm_pop::LibraryListChanged() {
  if (!m_libraries) return;
  const QSignalBlocker quiet(m_libraryBox);
  const int selected = m_libraryBox->currentIndex();
  m_libraryBox->clear();
  for (const LibraryList::Entry& entry : m_libraries->List().Entries()) m_libraryBox->addItem(FromGbk(entry.text));
  const int position = selected >= 0 ? selected : m_libraries->SelectedPosition();
  m_libraryBox->setCurrentIndex(std::min(position, m_libraryBox->count() - 1));
}

}  // namespace duvelin
