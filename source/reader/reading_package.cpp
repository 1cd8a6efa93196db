#include "reader/reading_package.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <random>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "reader/material_tree.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

Result<ZipHandle> OpenForReading(const fs::path& package) {
  std::error_code statusError;
  if (!fs::is_regular_file(package, statusError)) return Error{"阅读包不存在：" + package.string()};
  int code = 0;
  zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &code);
  if (!archive) return Error{"无法读取阅读包 " + package.string() + "：" + ZipErrorText(code)};
  return ZipHandle(archive);
}

// Well-formed UTF-8 whose characters are ASCII or at least U+0800 (Chinese is), the form that
// Info-ZIP's zip stores on Linux without setting the UTF-8 flag. GBK names rarely pass: their
// bytes seldom line up as UTF-8, and then mostly as two-byte sequences below U+0800.
bool LooksLikeUtf8Name(std::string_view name) {
  size_t i = 0;
  while (i < name.size()) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t length = c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > name.size()) return false;
    char32_t value = c & (length == 3 ? 0x0F : 0x07);
    for (size_t k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(name[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    if (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return false;
    if (length == 4 && value < 0x10000) return false;
    i += length;
  }
  return true;
}

// The entry's name in UTF-8. libzip hands out the raw bytes unchanged when the UTF-8 flag is
// set (or the name is ASCII) and a CP437 reading otherwise; a difference means no flag.
std::string DecodedName(zip_t* archive, zip_uint64_t index) {
  const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
  const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
  if (!raw) return {};
  std::string rawName(raw);
  if (strict && rawName == strict) return rawName;
  if (LooksLikeUtf8Name(rawName)) return rawName;
  return GbkToUtf8(rawName);
}

bool IsSymbolicLink(zip_t* archive, zip_uint64_t index) {
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) return false;
  return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Normalises a stored name to a path below text\, or gives the reason for refusing it.
PackageEntry Classify(zip_t* archive, zip_uint64_t index) {
  PackageEntry entry;
  entry.index = index;
  entry.storedName = DecodedName(archive, index);
  std::string name = entry.storedName;
  for (char& c : name)
    if (c == '\\') c = '/';
  entry.kind = !name.empty() && name.back() == '/' ? PackageEntryKind::Folder : PackageEntryKind::File;
  const bool drive = name.size() >= 2 && name[1] == ':' &&
                     ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (name.starts_with('/') || drive) {
    entry.refusal = "absolute path";
    return entry;
  }
  std::string path;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string component = name.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      entry.refusal = "climbs out of text/";
      return entry;
    }
    if (!path.empty()) path += '/';
    path += component;
  }
  if (path.empty()) {
    entry.refusal = "no name";
    return entry;
  }
  if (IsSymbolicLink(archive, index)) {
    entry.refusal = "symbolic link";
    return entry;
  }
  entry.relativePath = path;
  return entry;
}

std::vector<PackageEntry> ClassifyAll(zip_t* archive) {
  std::vector<PackageEntry> entries;
  zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) entries.push_back(Classify(archive, static_cast<zip_uint64_t>(i)));
  return entries;
}

bool IsWithin(const fs::path& inner, const fs::path& outer) {
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (o->empty()) continue;  // a trailing separator
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

// True when the deepest existing folder on the way to `target` lies inside the library, so
// that creating the rest and writing the file cannot leave it through a link on disk.
bool StaysInside(const fs::path& canonicalLibrary, const fs::path& target) {
  std::error_code error;
  fs::path existing = target.parent_path();
  while (!existing.empty() && !fs::exists(existing, error)) existing = existing.parent_path();
  fs::path canonical = fs::canonical(existing, error);
  return !error && IsWithin(canonical, canonicalLibrary);
}

Result<std::string> ReadEntry(zip_t* archive, zip_uint64_t index, std::string_view name) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0)
    return Error{std::string(name) + ": " + zip_strerror(archive)};
  zip_file_t* file = zip_fopen_index(archive, index, 0);
  if (!file) return Error{std::string(name) + ": " + zip_strerror(archive)};
  std::string bytes;
  if (stat.valid & ZIP_STAT_SIZE) bytes.reserve(static_cast<size_t>(std::min<zip_uint64_t>(stat.size, 1 << 26)));
  char buffer[65536];
  for (;;) {
    zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
    if (got < 0) {
      std::string reason = zip_file_strerror(file);
      zip_fclose(file);
      return Error{std::string(name) + ": " + reason};
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  if (zip_fclose(file) != 0) return Error{std::string(name) + ": " + zip_strerror(archive)};
  return bytes;
}

std::string TemporaryNameBeside(const fs::path& file) {
  static std::mt19937_64 generator{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.partial", static_cast<unsigned long long>(generator()));
  return (file.parent_path() / ("." + file.filename().string() + suffix)).string();
}

// An archive with no entries: only the end-of-central-directory record (libzip writes no
// file at all for an empty archive).
std::string EmptyZip() { return std::string("PK\x05\x06", 4) + std::string(18, '\0'); }

time_t ModificationTime(const fs::path& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return 0;
  return status.st_mtime;
}

class PackageWriter {
 public:
  PackageWriter(zip_t* archive, const fs::path& package) : m_archive(archive), m_package(package) {}

  Status AddFolder(const fs::path& folder, const std::string& name) {
    zip_int64_t index = zip_dir_add(m_archive, name.c_str(), ZIP_FL_ENC_UTF_8);
    if (index < 0) return Error{name + ": " + zip_strerror(m_archive)};
    SetAttributes(static_cast<zip_uint64_t>(index), folder, S_IFDIR | 0755, kMsDosDirectory);
    ++report.folders;
    return Status::Ok();
  }

  Status AddFile(const fs::path& file, const std::string& name) {
    auto bytes = ReadWholeFile(file);
    if (!bytes) return Error{bytes.message()};
    m_contents.push_back(std::move(bytes).value());
    const std::string& data = m_contents.back();
    zip_source_t* source = zip_source_buffer(m_archive, data.data(), data.size(), 0);
    if (!source) return Error{name + ": " + zip_strerror(m_archive)};
    zip_int64_t index = zip_file_add(m_archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(source);
      return Error{name + ": " + zip_strerror(m_archive)};
    }
    SetAttributes(static_cast<zip_uint64_t>(index), file, S_IFREG | 0644, 0);
    ++report.files;
    return Status::Ok();
  }

  // Adds everything below `folder`, names prefixed with `prefix` ("" or "name/").
  Status AddTree(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const fs::path& path = it->path();
      const std::string name = prefix + path.filename().string();
      if (IsOwnOutput(path)) continue;
      std::error_code statusError;
      if (it->is_symlink(statusError) && it->is_directory(statusError)) continue;  // no loops
      if (it->is_directory(statusError)) {
        if (Status added = AddFolder(path, name + "/"); !added) return added;
        if (Status added = AddTree(path, name + "/"); !added) return added;
      } else if (it->is_regular_file(statusError)) {
        if (Status added = AddFile(path, name); !added) return added;
      }
    }
    if (error) return Error{"无法读取文件夹 " + folder.string() + "：" + error.message()};
    return Status::Ok();
  }

  ExportReport report;

 private:
  // The package being replaced and our temporary files are never packed into themselves.
  bool IsOwnOutput(const fs::path& path) const {
    std::error_code error;
    if (fs::equivalent(path, m_package, error)) return true;
    const std::string name = path.filename().string();
    return name.starts_with("." + m_package.filename().string() + ".") && path.parent_path() == m_package.parent_path();
  }

  // The file's time, and ordinary permissions for whoever unpacks it (libzip's default would
  // make everything writable by all).
  void SetAttributes(zip_uint64_t index, const fs::path& path, mode_t mode, zip_uint32_t msDos) {
    zip_file_set_mtime(m_archive, index, ModificationTime(path), 0);
    zip_file_set_external_attributes(m_archive, index, 0, ZIP_OPSYS_UNIX,
                                     (static_cast<zip_uint32_t>(mode) << 16) | msDos);
  }
  static constexpr zip_uint32_t kMsDosDirectory = 0x10;

  zip_t* m_archive;
  fs::path m_package;
  std::deque<std::string> m_contents;  // kept alive until the archive is written
};

}  // namespace

Result<std::vector<PackageEntry>> ListReadingPackage(const fs::path& package) {
  auto archive = OpenForReading(package);
  if (!archive) return Error{archive.message()};
  return ClassifyAll(archive->get());
}

Result<ImportReport> ImportReadingPackage(const fs::path& package, const fs::path& libraryFolder) {
  auto opened = OpenForReading(package);
  if (!opened) return Error{opened.message()};
  zip_t* archive = opened->get();
  std::error_code error;
  fs::create_directories(libraryFolder, error);
  if (error) return Error{"无法创建文件夹 " + libraryFolder.string() + "：" + error.message()};
  const fs::path canonicalLibrary = fs::canonical(libraryFolder, error);
  if (error) return Error{"无法读取文件夹 " + libraryFolder.string() + "：" + error.message()};

  ImportReport report;
  for (PackageEntry& entry : ClassifyAll(archive)) {
    if (entry.IsRefused()) {
      report.refused.push_back(std::move(entry));
      continue;
    }
    const fs::path target = ResolveCaseInsensitive(libraryFolder, Utf8ToGbk(entry.relativePath));
    if (!StaysInside(canonicalLibrary, target / "")) {
      entry.refusal = "leads out of text/ through a link";
      entry.relativePath.clear();
      report.refused.push_back(std::move(entry));
      continue;
    }
    if (entry.kind == PackageEntryKind::Folder) {
      fs::create_directories(target, error);
      if (error) {
        report.failed.push_back(entry.relativePath + ": " + error.message());
        continue;
      }
      report.written.push_back(entry.relativePath + "/");
      continue;
    }
    auto bytes = ReadEntry(archive, entry.index, entry.storedName);
    if (!bytes) {
      report.failed.push_back(bytes.message());
      continue;
    }
    fs::create_directories(target.parent_path(), error);
    if (error) {
      report.failed.push_back(entry.relativePath + ": " + error.message());
      continue;
    }
    if (fs::is_directory(target, error)) {
      report.failed.push_back(entry.relativePath + ": a folder of that name exists");
      continue;
    }
    Status written = WriteFileAtomically(target, *bytes);
    if (!written) {
      report.failed.push_back(written.message());
      continue;
    }
    report.written.push_back(entry.relativePath);
  }
  return report;
}

Result<ExportReport> ExportReadingPackage(const fs::path& libraryFolder, std::string_view folderGbk,
                                          const fs::path& package) {
  std::string folderName = GbkToUtf8(folderGbk);
  for (char& c : folderName)
    if (c == '\\') c = '/';
  if (folderName.starts_with('/') || folderName == "." || folderName == ".." || folderName.starts_with("../") ||
      folderName.ends_with("/..") || folderName.find("/../") != std::string::npos)
    return Error{"文件夹不在 text 文件夹内：" + GbkToUtf8(folderGbk)};
  const fs::path source = folderGbk.empty() ? libraryFolder : ResolveCaseInsensitive(libraryFolder, folderGbk);
  std::error_code error;
  if (!fs::is_directory(source, error)) return Error{"文件夹不存在：" + source.string()};
  if (package.filename().empty()) return Error{"阅读包文件名为空"};

  const std::string temporary = TemporaryNameBeside(package);
  int code = 0;
  zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_EXCL, &code);
  if (!archive) return Error{"无法创建阅读包 " + temporary + "：" + ZipErrorText(code)};
  PackageWriter writer(archive, package);
  Status added;
  if (folderGbk.empty()) {
    added = writer.AddTree(source, "");
  } else {
    const std::string name = fs::relative(source, libraryFolder, error).generic_string() + "/";
    if (error || name.starts_with("..")) {
      zip_discard(archive);
      ::unlink(temporary.c_str());
      return Error{"文件夹不在 text 文件夹内：" + source.string()};
    }
    added = writer.AddFolder(source, name);
    if (added) added = writer.AddTree(source, name);
  }
  if (!added) {
    zip_discard(archive);
    return Error{added.message()};
  }
  const bool empty = zip_get_num_entries(archive, 0) == 0;
  if (empty) {
    zip_discard(archive);
    if (Status written = WriteFileAtomically(temporary, EmptyZip()); !written) return Error{written.message()};
  } else if (zip_close(archive) != 0) {
    std::string reason = zip_strerror(archive);
    zip_discard(archive);
    ::unlink(temporary.c_str());
    return Error{"无法写入阅读包 " + package.string() + "：" + reason};
  }
  if (::rename(temporary.c_str(), package.c_str()) != 0) {
    std::string reason = std::strerror(errno);
    ::unlink(temporary.c_str());
    return Error{"无法写入阅读包 " + package.string() + "：" + reason};
  }
  return writer.report;
}

bool IsReadingPackageName(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == ".red";
}

bool ImportPackageWithMessages(const ProgramFolder& programFolder, const fs::path& package, Prompter& prompter) {
  auto report = ImportReadingPackage(package, MaterialLibraryFolder(programFolder));
  if (report.ok() && !report->refused.empty()) {
    std::string text = "阅读包中的下列条目指向 text 文件夹以外，没有导入：";
    for (const PackageEntry& entry : report->refused) text += "\n" + entry.storedName;
    prompter.ShowMessage(text, "注意", Prompter::Buttons::Ok, Prompter::Icon::Warning);
  }
  if (report.ok() && report->failed.empty()) {
    prompter.ShowMessage(kImportDoneMessage, kImportDoneCaption, Prompter::Buttons::Ok, Prompter::Icon::Information);
    return true;
  }
  prompter.ShowMessage(kImportFailedMessage, kImportFailedCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
  std::string reason = report.ok() ? report->failed.front() : report.message();
  prompter.ShowMessage(reason, "错误", Prompter::Buttons::Ok, Prompter::Icon::Error);
  return false;
}

std::optional<bool> ImportPackageFromArguments(const ProgramFolder& programFolder,
                                               const std::vector<std::string>& arguments, Prompter& prompter) {
  if (arguments.empty() || !IsReadingPackageName(arguments.front())) return std::nullopt;
  return ImportPackageWithMessages(programFolder, fs::path(arguments.front()), prompter);
}

Result<std::optional<fs::path>> ExportPackageWithQuestions(const ProgramFolder& programFolder,
                                                           std::string_view selectedFolderGbk, Prompter& prompter) {
  const std::optional<fs::path> cancelled;
  const std::string question = std::string(kExportScopeQuestion) + GbkToUtf8(selectedFolderGbk);
  Prompter::Answer scope =
      prompter.ShowMessage(question, kExportScopeCaption, Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
  if (scope == Prompter::Answer::Cancel) return cancelled;
  const bool everything = scope == Prompter::Answer::Yes;
  std::optional<std::string> chosen = prompter.ChooseSaveFile("导出阅读包", kExportPackageFilter);
  if (!chosen || chosen->empty()) return cancelled;
  fs::path package(*chosen);
  if (!package.has_extension()) package += ".red";
  auto exported = ExportReadingPackage(MaterialLibraryFolder(programFolder),
                                       everything ? std::string_view() : selectedFolderGbk, package);
  if (!exported) return Error{exported.message()};
  return std::optional<fs::path>(package);
}

}  // namespace duvelin
