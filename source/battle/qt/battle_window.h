// The word-battle window TForm_pop, made once at start after the main window. Its creation is
// where the settings are loaded into the options record and handed to the main window's
// reading controls, each step reported on the splash, and where the word libraries are set
// up: it owns the library state and the library box that lists it, the English voice and the
// pronunciation service that every English word of the program goes through. Battles and the
// renderer come with the battle window itself.
#pragma once

#include <QDialog>

#include <memory>

#include "common/result.h"
#include "shell/qt/speech_devices.h"

class QComboBox;

namespace duvelin {

struct ShellServices;
class SystemClock;
class Pronunciation;
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

  // The pronunciation service with the English voice; null until creation has read the
  // settings.
  Pronunciation* Pronouncer() const { return m_pronunciation.get(); }
  // The read-aloud option: English is spoken only while it is enabled (the reverse-learning
  // mode and a machine without voices disable it).
  bool ReadAloudEnabled() const { return m_readAloudEnabled; }
  void SetReadAloudEnabled(bool enabled) { m_readAloudEnabled = enabled; }
  // The tip-page step after a word or a right answer: every fifteenth one opens one of the
  // tip pages in the main window's browser when show_ad_web is on, unless the advertising
  // has been closed.
  void ShowTipsPage();
  int DoneCount() const { return m_doneCount; }

 private:
  class DesktopOpener;

  QComboBox* m_libraryBox = nullptr;
  std::unique_ptr<SystemClock> m_clock;
  std::unique_ptr<DesktopOpener> m_opener;
  std::unique_ptr<WordLibraryState> m_libraries;

  void CreatePronunciation(ShellServices& services);

  ShellServices* m_services = nullptr;
  TForm1* m_mainWindow = nullptr;
  OwnedVoice m_englishVoice;
  std::unique_ptr<AudioOutput> m_recordings;
  std::unique_ptr<UdpSocket> m_socket;
  std::unique_ptr<HostResolver> m_resolver;
  std::unique_ptr<HttpClient> m_http;
  std::unique_ptr<Pronunciation> m_pronunciation;  // last: goes first
  bool m_readAloudEnabled = true;
  int m_doneCount = 0;
};

}  // namespace duvelin
