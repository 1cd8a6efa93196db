#include "battle/qt/battle_window.h"

#include "settings/settings_store.h"
#include "shell/qt/main_window.h"
#include "shell/startup_order.h"

namespace duvelin {

TForm_pop::TForm_pop(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm_pop"));
  resize(713, 602);
}

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
    }
  }
  return Status::Ok();
}

}  // namespace duvelin
