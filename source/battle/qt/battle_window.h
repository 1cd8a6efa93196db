// The word-battle window TForm_pop, made once at start after the main window. Its creation is
// where the settings are loaded into the options record and handed to the main window's
// reading controls, each step reported on the splash, and where the word libraries are set
// up: it owns the library state and the library box that lists it. Battles, the renderer and
// the pronunciation service come with the battle window itself.
#pragma once

#include <QDialog>

#include <memory>

#include "common/result.h"

class QComboBox;

namespace duvelin {

struct ShellServices;
class SystemClock;
class TForm1;
class WordLibraryState;

class TForm_pop final : public QDialog {
 public:
  explicit TForm_pop(QWidget* parent = nullptr);
  ~TForm_pop() override;

  // The creation steps. A missing or unreadable settings file has been shown (caption "错误")
  // when this fails; the program then ends.
  Status OnCreate(ShellServices& services, TForm1& mainWindow);

  // The libraries; null until creation has reached the step that makes them.
  WordLibraryState* Libraries() const { return m_libraries.get(); }
  QComboBox& LibraryBox() const { return *m_libraryBox; }
  // The box shows the library list again (an entry was added to it), keeping its selection.
  void LibraryListChanged();

 private:
  class DesktopOpener;

  QComboBox* m_libraryBox = nullptr;
  std::unique_ptr<SystemClock> m_clock;
  std::unique_ptr<DesktopOpener> m_opener;
  std::unique_ptr<WordLibraryState> m_libraries;
};

}  // namespace duvelin
