// duvelin-tool red: lists, imports and exports reading packages (".red") on a program folder's
// text\ with the code the authoring window uses.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "reader/material_tree.h"
#include "reader/reading_package.h"
#include "tool/tool_commands.h"

namespace duvelin::tool {
namespace {
namespace fs = std::filesystem;

const char kUsage[] =
    "usage: duvelin-tool red list FILE\n"
    "       duvelin-tool red import FILE [--program-folder DIR]\n"
    "       duvelin-tool red export [FOLDER] FILE [--program-folder DIR]\n"
    "\n"
    "  list    prints the folders and files the package FILE would create under text/, one per\n"
    "          line (folders end in '/'); entries that would land outside text/ are printed as\n"
    "          'refused: NAME (reason)' and are never written\n"
    "  import  extracts FILE into the program folder's text/, printing what it wrote and what it\n"
    "          refused; exit status 1 when some entries were refused or could not be written\n"
    "  export  writes the package FILE of all of text/, or of its sub-folder FOLDER\n"
    "\n"
    "The program folder is DIR, else $DUVELIN_PROGRAM_FOLDER, else the folder of this program.\n"
    "Names are printed in UTF-8. Bad arguments or an unreadable package: exit status 2.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "duvelin-tool red: %s\n", message.c_str());
  return 2;
}

fs::path ProgramFolderFrom(const std::optional<std::string>& given) {
  if (given) return fs::absolute(*given);
  if (const char* fromEnvironment = std::getenv("DUVELIN_PROGRAM_FOLDER"); fromEnvironment && *fromEnvironment)
    return fs::absolute(fromEnvironment);
  return ExecutableFolder();
}

void PrintEntry(const PackageEntry& entry) {
  if (entry.IsRefused())
    std::printf("refused: %s (%s)\n", entry.storedName.c_str(), entry.refusal.c_str());
  else
    std::printf("%s%s\n", entry.relativePath.c_str(), entry.kind == PackageEntryKind::Folder ? "/" : "");
}

}  // namespace

int RunRedCommand(const Arguments& args) {
  std::optional<std::string> programFolder;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--program-folder") {
      if (i + 1 >= args.size()) return Fail("--program-folder needs a folder");
      programFolder = args[++i];
    } else if (arg.starts_with("--program-folder=")) {
      programFolder = arg.substr(sizeof("--program-folder=") - 1);
    } else if (arg.starts_with("--")) {
      return Fail("unknown option '" + arg + "' (try --help)");
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return Fail("missing action: list, import or export (try --help)");
  const std::string action = words[0];
  words.erase(words.begin());
  const ProgramFolder folder(ProgramFolderFrom(programFolder));

  if (action == "list") {
    if (words.size() != 1) return Fail("list takes one FILE");
    auto entries = ListReadingPackage(words[0]);
    if (!entries) return Fail(entries.message());
    for (const PackageEntry& entry : *entries) PrintEntry(entry);
    return std::fflush(stdout) == 0 ? 0 : 2;
  }
  if (action == "import") {
    if (words.size() != 1) return Fail("import takes one FILE");
    auto report = ImportReadingPackage(words[0], MaterialLibraryFolder(folder));
    if (!report) return Fail(report.message());
    for (const std::string& written : report->written) std::printf("%s\n", written.c_str());
    for (const PackageEntry& entry : report->refused) PrintEntry(entry);
    for (const std::string& failure : report->failed) std::fprintf(stderr, "duvelin-tool red: %s\n", failure.c_str());
    if (std::fflush(stdout) != 0) return 2;
    return report->refused.empty() && report->failed.empty() ? 0 : 1;
  }
  if (action == "export") {
    if (words.empty() || words.size() > 2) return Fail("export takes [FOLDER] FILE");
    const std::string folderName = words.size() == 2 ? Utf8ToGbk(words[0]) : std::string();
    const fs::path package = words.back();
    auto report = ExportReadingPackage(MaterialLibraryFolder(folder), folderName, package);
    if (!report) return Fail(report.message());
    std::printf("%s: %zu folders, %zu files\n", package.c_str(), report->folders, report->files);
    return std::fflush(stdout) == 0 ? 0 : 2;
  }
  return Fail("unknown action '" + action + "' (try --help)");
}

}  // namespace duvelin::tool
