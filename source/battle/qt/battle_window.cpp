#include "battle/qt/battle_window.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "battle/word_library_state.h"
#include "common/clock.h"
#include "common/qt/qt_text.h"
#include "settings/settings_store.h"
#include "shell/qt/main_window.h"
#include "shell/startup_order.h"

namespace duvelin {
namespace {

// The step after which the library list exists and fills the library box.
constexpr std::string_view kLibraryListProgress = "载入abhs表……80%";

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

TForm_pop::~TForm_pop() = default;

Status TForm_pop::OnCreate(ShellServices& services, TForm1& mainWindow) {
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
    } else if (step == kShortcutProgress) {
      mainWindow.ApplyReaderFont(services.options.general.readerFont);
    } else if (step == kLibraryListProgress) {
      m_clock = std::make_unique<SystemClock>();
      m_opener = std::make_unique<DesktopOpener>(services);
      m_libraries = std::make_unique<WordLibraryState>(services.folder, services.prompter, *m_clock, services.random,
                                                       *m_opener);
      m_libraries->FillLibraryList();
      LibraryListChanged();
    }
  }
  // The reader's new-word book adds its entry to these libraries.
  mainWindow.SetBattleWindow(this);
  return Status::Ok();
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
