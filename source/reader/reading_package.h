// Reading packages (".red"): ZIP archives of material folders and files stored with paths
// relative to text\. This lists, imports and exports them with libzip, refusing any entry that
// would land outside text\, and runs the window's import and export with their questions and
// messages. Choosing files and revealing the new package in the file manager are the window's.
//
// Entry names are read as UTF-8 when the entry's UTF-8 flag (general-purpose bit 11) is set;
// without it as UTF-8 when the bytes are well-formed UTF-8 of characters from U+0800 up (names
// as Info-ZIP's zip writes them on Linux), otherwise as GBK (packages made on the original
// platform). Names are written as UTF-8 with the flag set.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/result.h"

namespace duvelin {

enum class PackageEntryKind { Folder, File };

struct PackageEntry {
  std::uint64_t index = 0;  // the entry's index in the archive
  std::string storedName;   // the name as stored, decoded to UTF-8
  PackageEntryKind kind = PackageEntryKind::File;
  std::string relativePath;  // UTF-8, "/"-separated, below text\; empty when refused
  std::string refusal;       // why the entry is not imported (UTF-8); empty when it is accepted
  bool IsRefused() const { return !refusal.empty(); }
};

// The entries of a package with what each would create. Errors: a missing or unreadable
// (damaged, not a ZIP) package.
Result<std::vector<PackageEntry>> ListReadingPackage(const std::filesystem::path& package);

struct ImportReport {
  std::vector<std::string> written;   // relative paths (UTF-8) of the folders and files made
  std::vector<PackageEntry> refused;  // entries that would have landed outside text/
  std::vector<std::string> failed;    // one message per entry that could not be read or written
};

// Extracts every accepted entry into `libraryFolder` (text\, created when missing), recreating
// its folders and replacing existing files (each written atomically); path components match
// existing folders without regard to letter case. Refused entries are never written: absolute
// paths, paths that climb out with "..", symbolic links, and paths that would leave the folder
// through a link already on disk. Errors: a missing or unreadable package (nothing written).
Result<ImportReport> ImportReadingPackage(const std::filesystem::path& package,
                                          const std::filesystem::path& libraryFolder);

struct ExportReport {
  std::size_t folders = 0;
  std::size_t files = 0;
};

// Writes a package of `libraryFolder` (text\) as a whole when `folderGbk` is empty, or of its
// sub-folder `folderGbk` and everything below it, with paths relative to text\ (a folder
// export holds the folder's own entry, so an empty folder travels too). The package is built
// in a temporary file beside it and renamed over `package` only when complete; on any error
// an existing package is left as it was. Errors: a missing folder, an unreadable file, a
// failed write.
Result<ExportReport> ExportReadingPackage(const std::filesystem::path& libraryFolder, std::string_view folderGbk,
                                          const std::filesystem::path& package);

// True when a command-line argument names a reading package (extension ".red", any case).
bool IsReadingPackageName(std::string_view name);

// The window's import: imports into program folder + text\ and tells the user "导入完毕！"
// (caption "成功") or "导入失败。" (caption "失败"), after a warning that lists refused entries
// and, on failure, the reason. Returns true when the import counts as done.
bool ImportPackageWithMessages(const ProgramFolder& programFolder, const std::filesystem::path& package,
                               Prompter& prompter);

// At creation: when the first command-line argument (after the program's own options) names a
// reading package, imports it with the messages above. Nothing when there is no such argument.
std::optional<bool> ImportPackageFromArguments(const ProgramFolder& programFolder,
                                               const std::vector<std::string>& arguments, Prompter& prompter);

// The window's export ("导出…"): asks whole library or the selected folder (Yes/No/Cancel), asks
// for the package file (".red" appended when the chosen name has no extension) and exports.
// Returns the written package for the window to show in the file manager, or nothing when the
// user cancelled. Errors are the export's, for the error trap.
Result<std::optional<std::filesystem::path>> ExportPackageWithQuestions(const ProgramFolder& programFolder,
                                                                        std::string_view selectedFolderGbk,
                                                                        Prompter& prompter);

inline constexpr std::string_view kImportDoneMessage = "导入完毕！";
inline constexpr std::string_view kImportDoneCaption = "成功";
inline constexpr std::string_view kImportFailedMessage = "导入失败。";
inline constexpr std::string_view kImportFailedCaption = "失败";
inline constexpr std::string_view kExportScopeQuestion = "选择“是”导出全部内容，选择“否”导出当前选中的文件夹 ";
inline constexpr std::string_view kExportScopeCaption = "选择";
// File-dialog filters in Qt's notation.
inline constexpr std::string_view kImportPackageFilter = "阅读包文件 (*.red);;所有文件 (*)";
inline constexpr std::string_view kExportPackageFilter = "阅读包文件 (*.red)";

}  // namespace duvelin
