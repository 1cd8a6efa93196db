// The start-up sequence: program folder, application object, splash, the windows in their
// creation order, the message loop.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace duvelin {

class ProgramFolder;
class Prompter;

struct StartOptions {
  std::optional<std::filesystem::path> programFolder;  // --program-folder DIR
  bool exitAfterStart = false;                         // --exit-after-start
};

// The program's own options; anything else is left for Qt and the windows.
StartOptions ParseStartOptions(int argc, char** argv);

// The arguments left for the windows (UTF-8): the program's name and its own options removed.
// The first of them may name a reading package to import at start.
std::vector<std::string> WindowArguments(const std::vector<std::string>& arguments);

// The authoring window's part of the start: a reading package named by the first window
// argument is imported with its messages, before the main window shows. Nothing when there is
// none; else whether the import counted as done.
std::optional<bool> ImportStartPackage(const ProgramFolder& folder, const std::vector<std::string>& arguments,
                                       Prompter& prompter);

// --program-folder, else DUVELIN_PROGRAM_FOLDER, else the executable's folder; made absolute,
// since the working directory is never used for data.
std::filesystem::path ChooseProgramFolder(const StartOptions& options);

int RunApplication(int argc, char** argv);

}  // namespace duvelin
