#include "shell/qt/application.h"

#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/program_folder.h"
#include "common/qt/font_substitutions.h"
#include "common/qt/qt_message_poster.h"
#include "common/qt/qt_prompter.h"
#include "common/qt/qt_scheduler.h"
#include "reader/material_file.h"
#include "reader/reading_package.h"
#include "reader/speech/voice_catalogue.h"
#include "script/browser/qt/local_scheme_handler.h"
#include "settings/game_options.h"
#include "shell/error_trap.h"
#include "shell/process_clock.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program_speech_devices.h"
#include "shell/qt/splash_window.h"
#include "shell/qt/trapping_application.h"

namespace duvelin {

StartOptions ParseStartOptions(int argc, char** argv) {
  StartOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--exit-after-start") {
      options.exitAfterStart = true;
    } else if (argument == "--program-folder" && i + 1 < argc) {
      options.programFolder = std::filesystem::path(argv[++i]);
    } else if (argument.starts_with("--program-folder=")) {
      options.programFolder = std::filesystem::path(std::string(argument.substr(17)));
    }
  }
  return options;
}

std::vector<std::string> WindowArguments(const std::vector<std::string>& arguments) {
  std::vector<std::string> left;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--exit-after-start" || argument.starts_with("--program-folder=")) continue;
    if (argument == "--program-folder") {
      ++i;
      continue;
    }
    left.push_back(argument);
  }
  return left;
}

std::optional<bool> ImportStartPackage(const ProgramFolder& folder, const std::vector<std::string>& arguments,
                                       Prompter& prompter) {
  return ImportPackageFromArguments(folder, WindowArguments(arguments), prompter);
}

std::filesystem::path ChooseProgramFolder(const StartOptions& options) {
  std::filesystem::path folder;
  if (options.programFolder) {
    folder = *options.programFolder;
  } else if (const char* fromEnvironment = std::getenv("DUVELIN_PROGRAM_FOLDER");
             fromEnvironment && *fromEnvironment) {
    folder = fromEnvironment;
  } else {
    folder = ExecutableFolder();
  }
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(folder, error);
  return error ? folder : absolute.lexically_normal();
}

int RunApplication(int argc, char** argv) {
  MillisecondsSinceProcessStart();  // fixes the fallback's zero as early as possible
  const StartOptions start = ParseStartOptions(argc, argv);
  ProgramFolder::FixCurrent(ChooseProgramFolder(start));
  const ProgramFolder& folder = ProgramFolder::Current();

  LocalSchemeHandler::RegisterScheme();
  TrappingApplication application(argc, argv);
  InstallFontSubstitutions();

  TForm_show splash;
  splash.show();
  splash.repaint();
  // The application title is kApplicationTitle, which the windows' captions carry themselves:
  // a display name would make Qt append it to every caption a second time. The application's
  // name keeps the per-user folders under "Duvelin".
  QApplication::setApplicationName(QStringLiteral("Duvelin"));

  QtPrompter prompter;
  QtMessagePoster poster;
  QtScheduler scheduler;
  SeededRandom random;  // seeded from the clock
  VoiceCatalogue voices;
  ProgramSpeechDevices speech;
  TGameOptions& options = GameOptions();

  auto openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  ErrorTrap trap(prompter, options, [&folder, openExternal](std::string_view dataPath) {
    openExternal(QUrl::fromLocalFile(QString::fromStdString(folder.Resolve(dataPath).string())));
  });
  application.SetTrap([&trap](std::string_view message) { trap.Handle(message); });

  ShellServices services{prompter, poster, scheduler, random, options, folder, voices, speech, openExternal,
                         [&splash](std::string_view text) { splash.SetProgressText(text); }};
  ApplicationWindows windows(services);
  if (Status created = windows.CreateAll(); !created) return 1;
  TForm1& mainWindow = *windows.MainWindow();
  prompter.SetFallbackParent(&mainWindow);
  splash.close();

  // The authoring window's creation: a reading package named first on the command line is
  // imported before the main window shows, so that its materials are in the first tree.
  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments()) arguments.push_back(argument.toStdString());
  ImportStartPackage(folder, arguments, prompter);

  if (start.exitAfterStart) {
    QObject::connect(&mainWindow, &TForm1::firstShowCompleted, &application, [] {
      std::printf("started in %lld ms\n", static_cast<long long>(MillisecondsSinceProcessStart()));
      std::fflush(stdout);
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    });
  }
  // The program ends when the main window closes, whichever other windows are still open.
  QObject::connect(&mainWindow, &TForm1::closed, &application, [] { QCoreApplication::exit(0); },
                   Qt::QueuedConnection);
  mainWindow.show();
  return application.exec();
}

}  // namespace duvelin
