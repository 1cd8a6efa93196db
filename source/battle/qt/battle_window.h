// The word-battle window TForm_pop, made once at start after the main window. Its creation is
// where the settings are loaded into the options record and handed to the main window's
// reading controls, each step reported on the splash. Battles, libraries, the renderer and
// the pronunciation service come with the battle window itself.
#pragma once

#include <QDialog>

#include "common/result.h"

namespace duvelin {

struct ShellServices;
class TForm1;

class TForm_pop final : public QDialog {
 public:
  explicit TForm_pop(QWidget* parent = nullptr);

  // The creation steps. A missing or unreadable settings file has been shown (caption "错误")
  // when this fails; the program then ends.
  Status OnCreate(ShellServices& services, TForm1& mainWindow);
};

}  // namespace duvelin
