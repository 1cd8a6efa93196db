// Reading packages: export and import with libzip, checked against Info-ZIP's zip and unzip,
// names in UTF-8 and GBK, hostile and damaged packages, the window's flows and duvelin-tool red.
#include "reader/reading_package.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <filesystem>
#include <map>
#include <set>

#include "common/gbk_text.h"
#include "reader/material_tree.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::FakePrompter;
using testing::TempFolder;
namespace fs = std::filesystem;

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command, returning its exit status and what it printed on standard output.
CommandResult RunShell(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct ZipEntry {
  std::string name;  // bytes as stored
  std::string content;
  enum Kind { File, Folder, Symlink } kind = File;
  zip_flags_t nameFlags = ZIP_FL_ENC_UTF_8;
};

// Writes a package with libzip, names stored exactly as given.
void MakeZip(const fs::path& path, const std::vector<ZipEntry>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const ZipEntry& entry : entries) {
    zip_int64_t index;
    if (entry.kind == ZipEntry::Folder) {
      index = zip_dir_add(archive, entry.name.c_str(), entry.nameFlags);
    } else {
      zip_source_t* source = zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
      index = zip_file_add(archive, entry.name.c_str(), source, entry.nameFlags);
    }
    ASSERT_GE(index, 0) << entry.name << ": " << zip_strerror(archive);
    if (entry.kind == ZipEntry::Symlink)
      zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                       static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

// The general-purpose flags and names of the central directory's records.
std::map<std::string, uint16_t> CentralFlags(const std::string& bytes) {
  std::map<std::string, uint16_t> flags;
  auto u16 = [&](size_t at) { return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8); };
  for (size_t at = bytes.find("PK\x01\x02"); at != std::string::npos; at = bytes.find("PK\x01\x02", at + 4)) {
    std::string name = bytes.substr(at + 46, u16(at + 28));
    flags[name] = u16(at + 8);
  }
  return flags;
}

// Every file and folder below `root` except those below `skip`, with the files' contents.
std::map<std::string, std::string> Snapshot(const fs::path& root, const fs::path& skip) {
  std::map<std::string, std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    if (it->path() == skip) {
      it.disable_recursion_pending();
      continue;
    }
    std::string content;
    if (it->is_regular_file()) {
      std::ifstream in(it->path(), std::ios::binary);
      content.assign(std::istreambuf_iterator<char>(in), {});
    }
    files[fs::relative(it->path(), root).string()] = content;
  }
  return files;
}

std::vector<std::string> Names(const std::vector<PackageEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries)
    names.push_back(entry.IsRefused() ? "refused: " + entry.storedName
                                      : entry.relativePath + (entry.kind == PackageEntryKind::Folder ? "/" : ""));
  return names;
}

class ReadingPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.Write("text/新闻/文章.txt", Gbk("Hello\r\n***分割符***\r\n你好\r\n"));
    source.Write("text/新闻/更多/b.TXT", "B\r\n");
    fs::create_directories(source.path() / "text/新闻/空");
    source.Write("text/other/x.txt", "X\r\n");
  }
  fs::path SourceText() const { return MaterialLibraryFolder(ProgramFolder(source.path())); }
  fs::path TargetText() const { return MaterialLibraryFolder(ProgramFolder(target.path())); }

  TempFolder source, target, packages;
};

TEST_F(ReadingPackageTest, AnExportedFolderListsWithUnzipUnderUtf8Names) {
  const fs::path package = packages.path() / "news.red";
  auto report = ExportReadingPackage(SourceText(), Gbk("新闻"), package);
  ASSERT_TRUE(report.ok()) << report.message();
  EXPECT_EQ(report->files, 2u);
  EXPECT_EQ(report->folders, 3u);  // 新闻/, 新闻/更多/, 新闻/空/

  CommandResult listed = RunShell("unzip -l " + Quoted(package));
  ASSERT_EQ(listed.status, 0) << listed.output;
  for (const char* name : {"新闻/", "新闻/文章.txt", "新闻/更多/b.TXT", "新闻/空/"})
    EXPECT_NE(listed.output.find(name), std::string::npos) << name << "\n" << listed.output;
  EXPECT_EQ(listed.output.find("other"), std::string::npos);
  EXPECT_EQ(RunShell("unzip -tq " + Quoted(package)).status, 0);

  for (const auto& [name, flags] : CentralFlags(packages.Read("news.red")))
    EXPECT_TRUE(flags & 0x800) << name << ": names are UTF-8 with the flag set";
}

TEST_F(ReadingPackageTest, ExportingAFolderAndImportingElsewhereRecreatesIt) {
  const fs::path package = packages.path() / "news.red";
  ASSERT_TRUE(ExportReadingPackage(SourceText(), Gbk("新闻"), package).ok());
  auto report = ImportReadingPackage(package, TargetText());
  ASSERT_TRUE(report.ok()) << report.message();
  EXPECT_TRUE(report->refused.empty());
  EXPECT_TRUE(report->failed.empty());
  EXPECT_EQ(target.Read("text/新闻/文章.txt"), source.Read("text/新闻/文章.txt"));
  EXPECT_EQ(target.Read("text/新闻/更多/b.TXT"), "B\r\n");
  EXPECT_TRUE(fs::is_directory(target.path() / "text/新闻/空"));
  EXPECT_FALSE(fs::exists(target.path() / "text/other"));
}

TEST_F(ReadingPackageTest, ExportingEverythingTakesAllFoldersAndNeverItself) {
  const fs::path package = source.path() / "text/all.red";  // saved inside the library
  ASSERT_TRUE(ExportReadingPackage(SourceText(), "", package).ok());
  auto entries = ListReadingPackage(package);
  ASSERT_TRUE(entries.ok()) << entries.message();
  std::set<std::string> names;
  for (const auto& name : Names(*entries)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"新闻/", "新闻/文章.txt", "新闻/更多/", "新闻/更多/b.TXT", "新闻/空/",
                                          "other/", "other/x.txt"}));
}

TEST_F(ReadingPackageTest, APackageMadeByInfoZipImports) {
  const fs::path package = packages.path() / "zipped.red";
  CommandResult zipped = RunShell("cd " + Quoted(source.path() / "text") + " && zip -qr " + Quoted(package) + " 新闻 other");
  ASSERT_EQ(zipped.status, 0);
  auto report = ImportReadingPackage(package, TargetText());
  ASSERT_TRUE(report.ok()) << report.message();
  EXPECT_TRUE(report->refused.empty());
  EXPECT_EQ(target.Read("text/新闻/文章.txt"), source.Read("text/新闻/文章.txt"));
  EXPECT_EQ(target.Read("text/other/x.txt"), "X\r\n");
  EXPECT_TRUE(fs::is_directory(target.path() / "text/新闻/空"));
}

TEST_F(ReadingPackageTest, GbkNamesWithoutTheFlagImportUnderTheirChineseNames) {
  const fs::path package = packages.path() / "gbk.red";
  MakeZip(package, {{Gbk("新闻/"), "", ZipEntry::Folder, ZIP_FL_ENC_CP437},
                    {Gbk("新闻/中文.txt"), "G", ZipEntry::File, ZIP_FL_ENC_CP437},
                    {"新闻/utf8.txt", "U", ZipEntry::File, ZIP_FL_ENC_UTF_8}});
  for (const auto& [name, flags] : CentralFlags(packages.Read("gbk.red")))
    if (name.starts_with(Gbk("新闻"))) EXPECT_FALSE(flags & 0x800) << "the GBK names carry no UTF-8 flag";
  auto entries = ListReadingPackage(package);
  ASSERT_TRUE(entries.ok());
  EXPECT_EQ(Names(*entries), (std::vector<std::string>{"新闻/", "新闻/中文.txt", "新闻/utf8.txt"}));
  ASSERT_TRUE(ImportReadingPackage(package, TargetText()).ok());
  EXPECT_EQ(target.Read("text/新闻/中文.txt"), "G");
  EXPECT_EQ(target.Read("text/新闻/utf8.txt"), "U");
}

TEST_F(ReadingPackageTest, ImportReplacesFilesAndMatchesFoldersWithoutRegardToCase) {
  target.Write("text/News/a.txt", "old");
  const fs::path package = packages.path() / "case.red";
  MakeZip(package, {{"news/A.txt", "new"}});
  ASSERT_TRUE(ImportReadingPackage(package, TargetText()).ok());
  EXPECT_EQ(target.Read("text/News/a.txt"), "new");
  EXPECT_FALSE(fs::exists(target.path() / "text/news"));
}

TEST_F(ReadingPackageTest, EntriesThatWouldLeaveTextAreRefusedAndNothingOutsideChanges) {
  target.Write("dat/set.txt", "keep");
  target.Write("text/kept.txt", "kept");
  const fs::path package = packages.path() / "hostile.red";
  const std::string absolute = (target.path() / "dat/set.txt").string();
  MakeZip(package, {{"../evil.txt", "x"},
                    {"a/../../evil2.txt", "x"},
                    {"..\\evil3.txt", "x"},
                    {absolute, "x"},
                    {"C:\\evil4.txt", "x"},
                    {"link.txt", "/etc/passwd", ZipEntry::Symlink},
                    {"ok/./good.txt", "good"}});
  const auto before = Snapshot(target.path(), target.path() / "text");
  auto listed = ListReadingPackage(package);
  ASSERT_TRUE(listed.ok());
  EXPECT_EQ(Names(*listed), (std::vector<std::string>{"refused: ../evil.txt", "refused: a/../../evil2.txt",
                                                      "refused: ..\\evil3.txt", "refused: " + absolute,
                                                      "refused: C:\\evil4.txt", "refused: link.txt", "ok/good.txt"}));
  auto report = ImportReadingPackage(package, TargetText());
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(report->refused.size(), 6u);
  EXPECT_EQ(report->written, std::vector<std::string>{"ok/good.txt"});
  EXPECT_EQ(Snapshot(target.path(), target.path() / "text"), before);
  EXPECT_EQ(target.Read("text/ok/good.txt"), "good");
  EXPECT_EQ(target.Read("dat/set.txt"), "keep");
  EXPECT_FALSE(fs::exists(target.path() / "text/link.txt"));
  EXPECT_FALSE(fs::exists(target.path().parent_path() / "evil.txt"));
}

TEST_F(ReadingPackageTest, ALinkOnDiskCannotLeadAnEntryOutOfText) {
  TempFolder outside;
  fs::create_directories(target.path() / "text");
  fs::create_directory_symlink(outside.path(), target.path() / "text/link");
  const fs::path package = packages.path() / "through-link.red";
  MakeZip(package, {{"link/x.txt", "x"}, {"link/sub/", "", ZipEntry::Folder}, {"fine.txt", "f"}});
  auto report = ImportReadingPackage(package, TargetText());
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(report->refused.size(), 2u);
  EXPECT_TRUE(fs::is_empty(outside.path()));
  EXPECT_EQ(target.Read("text/fine.txt"), "f");
}

TEST_F(ReadingPackageTest, DamagedPackagesGiveClearErrorsAndWriteNothingHalf) {
  const fs::path good = packages.path() / "good.red";
  std::string content;
  for (int i = 0; i < 400; ++i) content += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
  MakeZip(good, {{"a/first.txt", content}});
  const std::string bytes = packages.Read("good.red");

  packages.Write("garbage.red", "this is not a zip archive at all");
  packages.Write("truncated.red", bytes.substr(0, bytes.size() / 2));
  for (const char* name : {"garbage.red", "truncated.red", "missing.red"}) {
    auto listed = ListReadingPackage(packages.path() / name);
    ASSERT_FALSE(listed.ok()) << name;
    EXPECT_NE(listed.message().find(name), std::string::npos) << listed.message();
    EXPECT_FALSE(ImportReadingPackage(packages.path() / name, TargetText()).ok()) << name;
  }
  EXPECT_FALSE(fs::exists(target.path() / "text/a"));

  // A flipped byte in the compressed data: the entry fails its check and is not written.
  std::string corrupted = bytes;
  size_t data = 30 + std::string("a/first.txt").size() +
                (static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8);
  corrupted[data + 20] = static_cast<char>(corrupted[data + 20] ^ 0x55);
  packages.Write("corrupted.red", corrupted);
  auto report = ImportReadingPackage(packages.path() / "corrupted.red", TargetText());
  ASSERT_TRUE(report.ok());
  ASSERT_EQ(report->failed.size(), 1u);
  EXPECT_NE(report->failed[0].find("a/first.txt"), std::string::npos) << report->failed[0];
  EXPECT_FALSE(fs::exists(target.path() / "text/a/first.txt"));
}

TEST_F(ReadingPackageTest, AFailedExportLeavesTheOldPackageAndNoTemporaryFiles) {
  packages.Write("news.red", "old package");
  auto failed = ExportReadingPackage(SourceText(), Gbk("不存在"), packages.path() / "news.red");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(packages.Read("news.red"), "old package");
  ASSERT_TRUE(ExportReadingPackage(SourceText(), Gbk("新闻"), packages.path() / "news.red").ok());
  EXPECT_TRUE(ListReadingPackage(packages.path() / "news.red").ok());
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(packages.path())) files += entry.exists();
  EXPECT_EQ(files, 1u);
  EXPECT_FALSE(ExportReadingPackage(SourceText(), "..", packages.path() / "up.red").ok());
}

TEST_F(ReadingPackageTest, AnEmptyLibraryExportsAnEmptyPackage) {
  fs::create_directories(target.path() / "text");
  const fs::path package = packages.path() / "empty.red";
  auto report = ExportReadingPackage(TargetText(), "", package);
  ASSERT_TRUE(report.ok()) << report.message();
  auto entries = ListReadingPackage(package);
  ASSERT_TRUE(entries.ok()) << entries.message();
  EXPECT_TRUE(entries->empty());
}

TEST_F(ReadingPackageTest, TheWindowsImportTellsTheOutcome) {
  const fs::path package = packages.path() / "mixed.RED";
  MakeZip(package, {{"../evil.txt", "x"}, {"fine.txt", "f"}});
  FakePrompter prompter;
  EXPECT_EQ(ImportPackageFromArguments(ProgramFolder(target.path()), {package.string()}, prompter),
            std::optional<bool>(true));
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_NE(prompter.shown[0].text.find("../evil.txt"), std::string::npos);
  EXPECT_EQ(prompter.shown[1].text, "导入完毕！");
  EXPECT_EQ(prompter.shown[1].caption, "成功");
  EXPECT_EQ(target.Read("text/fine.txt"), "f");

  FakePrompter missing;
  EXPECT_FALSE(ImportPackageWithMessages(ProgramFolder(target.path()), packages.path() / "none.red", missing));
  ASSERT_FALSE(missing.shown.empty());
  EXPECT_EQ(missing.shown[0].text, "导入失败。");
  EXPECT_EQ(missing.shown[0].caption, "失败");

  FakePrompter untouched;
  EXPECT_FALSE(ImportPackageFromArguments(ProgramFolder(target.path()), {"notes.txt"}, untouched).has_value());
  EXPECT_FALSE(ImportPackageFromArguments(ProgramFolder(target.path()), {}, untouched).has_value());
  EXPECT_TRUE(untouched.shown.empty());
}

TEST_F(ReadingPackageTest, TheWindowsExportAsksScopeAndFile) {
  const ProgramFolder programFolder(source.path());
  FakePrompter cancel;
  cancel.answers = {Prompter::Answer::Cancel};
  auto cancelled = ExportPackageWithQuestions(programFolder, Gbk("新闻"), cancel);
  ASSERT_TRUE(cancelled.ok());
  EXPECT_FALSE(cancelled->has_value());
  EXPECT_EQ(cancel.shown[0].text, "选择“是”导出全部内容，选择“否”导出当前选中的文件夹 新闻");
  EXPECT_EQ(cancel.shown[0].caption, "选择");
  EXPECT_EQ(cancel.shown[0].buttons, Prompter::Buttons::YesNoCancel);
  EXPECT_TRUE(cancel.asked.empty());

  FakePrompter selected;
  selected.answers = {Prompter::Answer::No};
  selected.lines = {(packages.path() / "only-news").string()};
  auto exported = ExportPackageWithQuestions(programFolder, Gbk("新闻"), selected);
  ASSERT_TRUE(exported.ok()) << exported.message();
  ASSERT_TRUE(exported->has_value());
  EXPECT_EQ(**exported, packages.path() / "only-news.red");
  auto entries = ListReadingPackage(**exported);
  ASSERT_TRUE(entries.ok());
  EXPECT_EQ(entries->size(), 5u);

  FakePrompter all;
  all.answers = {Prompter::Answer::Yes};
  all.lines = {(packages.path() / "all.red").string()};
  ASSERT_TRUE(ExportPackageWithQuestions(programFolder, Gbk("新闻"), all).ok());
  EXPECT_EQ(ListReadingPackage(packages.path() / "all.red")->size(), 7u);
}

// duvelin-tool red, the real program.
class RedCommandTest : public ReadingPackageTest {
 protected:
  CommandResult Tool(const std::string& arguments) {
    return RunShell(std::string("'") + DUVELIN_TOOL_PATH + "' red " + arguments + " 2>" + Quoted(packages.path() / "stderr"));
  }
  std::string Stderr() { return packages.Read("stderr"); }
};

TEST_F(RedCommandTest, ExportListAndImportRoundTrip) {
  const fs::path package = packages.path() / "news.red";
  CommandResult exported = Tool("export 新闻 " + Quoted(package) + " --program-folder " + Quoted(source.path()));
  ASSERT_EQ(exported.status, 0) << Stderr();
  CommandResult listed = Tool("list " + Quoted(package));
  ASSERT_EQ(listed.status, 0) << Stderr();
  // One line per entry, in the order the file system listed the folder when exporting.
  std::set<std::string> lines;
  for (size_t start = 0, end; (end = listed.output.find('\n', start)) != std::string::npos; start = end + 1)
    lines.insert(listed.output.substr(start, end - start));
  EXPECT_EQ(lines, (std::set<std::string>{"新闻/", "新闻/文章.txt", "新闻/更多/", "新闻/更多/b.TXT", "新闻/空/"}));
  CommandResult imported = Tool("import " + Quoted(package) + " --program-folder=" + Quoted(target.path()));
  ASSERT_EQ(imported.status, 0) << Stderr();
  EXPECT_EQ(target.Read("text/新闻/文章.txt"), source.Read("text/新闻/文章.txt"));
}

TEST_F(RedCommandTest, RefusedEntriesAreMarkedAndBadInputExitsWithTwo) {
  const fs::path package = packages.path() / "hostile.red";
  MakeZip(package, {{"../evil.txt", "x"}, {"fine.txt", "f"}});
  CommandResult listed = Tool("list " + Quoted(package));
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.output, "refused: ../evil.txt (climbs out of text/)\nfine.txt\n");
  CommandResult imported = Tool("import " + Quoted(package) + " --program-folder " + Quoted(target.path()));
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.output, "fine.txt\nrefused: ../evil.txt (climbs out of text/)\n");
  EXPECT_FALSE(fs::exists(target.path() / "evil.txt"));

  packages.Write("bad.red", "not a zip");
  const std::string cases[] = {"list " + Quoted(packages.path() / "bad.red"), "list", "frobnicate x",
                               "import", "export", "list a b", "--bogus",
                               "export nothing-here " + Quoted(packages.path() / "x.red") + " --program-folder " +
                                   Quoted(source.path())};
  for (const auto& arguments : cases) {
    CommandResult result = Tool(arguments);
    EXPECT_EQ(result.status, 2) << arguments;
    std::string message = Stderr();
    EXPECT_TRUE(message.starts_with("duvelin-tool red: ")) << arguments << ": " << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << arguments << ": " << message;
  }
  CommandResult help = Tool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("usage: duvelin-tool red list FILE"), std::string::npos);
}

}  // namespace
}  // namespace duvelin
