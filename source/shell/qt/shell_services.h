// What the windows of the start-up sequence are given: the interfaces of the logic with their
// program implementations (tests hand in fakes), the options record, the program folder and
// the hooks the shell needs — opening a page outside the program, reporting splash progress,
// and a log of the windows created.
#pragma once

#include <QUrl>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/qt/qt_message_poster.h"
#include "common/random.h"
#include "common/scheduler.h"
#include "reader/speech/voice_catalogue.h"
#include "settings/game_options.h"
#include "shell/qt/speech_devices.h"

namespace duvelin {

struct ShellServices {
  Prompter& prompter;
  QtMessagePoster& poster;
  Scheduler& scheduler;
  Random& random;
  TGameOptions& options;
  const ProgramFolder& folder;
  VoiceListing& voices;
  // Voices, recordings and the lookup's network.
  SpeechDevices& speech;
  // Opens a page or file in the desktop's own program (QDesktopServices when empty).
  std::function<void(const QUrl&)> openExternal;
  // Shows a progress text (UTF-8) on the splash; may be empty.
  std::function<void(std::string_view)> reportProgress;
  // The class name of each window as it is created; may be null.
  std::vector<std::string>* creationLog = nullptr;

  void OpenExternal(const QUrl& url) const;
  void ReportProgress(std::string_view text) const {
    if (reportProgress) reportProgress(text);
  }
  void LogCreation(std::string_view className) const {
    if (creationLog) creationLog->emplace_back(className);
  }
};

}  // namespace duvelin
