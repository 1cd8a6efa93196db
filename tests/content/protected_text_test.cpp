// Protected texts against Info-ZIP's zip and unzip, the readers' tests (game id, comments,
// watermark) and the atomic writer.
#include "content/protected_text.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/md5.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

namespace fs = std::filesystem;
using testing::FakePrompter;
using testing::TempFolder;

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Standard output of a shell command.
std::string Capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

// Makes `archive` with Info-ZIP: one member `member` holding `bytes`, encrypted with `password`.
void InfoZip(const TempFolder& folder, const fs::path& archive, const std::string& member, const std::string& bytes,
             const std::string& password) {
  folder.Write("src/" + member, bytes);
  fs::create_directories(archive.parent_path());
  ASSERT_EQ(Shell("cd " + Quoted((folder.path() / "src").string()) + " && zip -q -P " + Quoted(password) + " " +
                  Quoted(archive.string()) + " " + Quoted(member)),
            0);
  fs::remove(folder.path() / "src" / member);
}

TEST(Md5Test, KnownDigests) {
  EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Md5Hex("The quick brown fox jumps over the lazy dog"), "9E107D9D372BB6826BD81D3542A419D6");
}

TEST(PasswordTest, DerivationRule) {
  EXPECT_EQ(DerivePassword("ABCDEFGHIJKLM", '#', 7, "Hv"), "BDFH#7Hv");
  EXPECT_EQ(DerivePassword("abcdefghijklm", '-', 3, "xy"), "bdfh-3xy");
  const std::string derived = DerivedPassword();
  EXPECT_EQ(derived.size(), 8u);
  for (char c : derived) EXPECT_TRUE(c > ' ' && c < 127) << derived;
  EXPECT_EQ(PasswordOf(PasswordKind::Scene), "KTV5183W");
  EXPECT_EQ(PasswordOf(PasswordKind::EventStore), "Q7k4w!p&R");
  EXPECT_EQ(PasswordOf(PasswordKind::Derived), derived);
}

struct KindCase {
  PasswordKind kind;
  const char* file;
};
const KindCase kKinds[] = {
    {PasswordKind::Scene, "scene/10001.ugm"},
    {PasswordKind::EventStore, "save/1/event.fpp"},
    {PasswordKind::Derived, "goods.usp"},
    {PasswordKind::Derived, "dat/说明.upp"},
};

TEST(ProtectedTextTest, InfoZipArchivesAreRead) {
  TempFolder folder;
  const std::string text = Utf8ToGbk("ID=10001\r\n名称=小镇\r\n\r\nlast\r\n");
  for (const KindCase& c : kKinds) {
    const fs::path archive = folder.path() / "out" / c.file;
    InfoZip(folder, archive, archive.filename().string(), text, PasswordOf(c.kind));
    EXPECT_EQ(ReadProtectedText(archive, c.kind), (LineList{"ID=10001", Utf8ToGbk("名称=小镇"), "", "last"})) << c.file;
  }
  // LF and CR line ends are read too.
  const fs::path archive = folder.path() / "lf" / "10002.ugm";
  InfoZip(folder, archive, "10002.ugm", "a\nb\rc", kScenePassword);
  EXPECT_EQ(ReadProtectedText(archive, PasswordKind::Scene), (LineList{"a", "b", "c"}));
}

TEST(ProtectedTextTest, OursAreReadByUnzip) {
  TempFolder folder;
  const LineList lines{"[EVENTS]", "1001=1", Utf8ToGbk("1002=中文"), "", "[FOODS]", ""};
  for (const KindCase& c : kKinds) {
    const fs::path archive = folder.path() / c.file;
    fs::create_directories(archive.parent_path());
    ASSERT_TRUE(WriteProtectedText(archive, c.kind, lines)) << c.file;
    const std::string member = archive.filename().string();
    EXPECT_EQ(Capture("unzip -P " + Quoted(PasswordOf(c.kind)) + " -p " + Quoted(archive.string()) + " " + Quoted(member)),
              JoinLinesCrLf(lines))
        << c.file;
    // Encrypted: another password does not open it.
    EXPECT_NE(Shell("unzip -qq -P wrongpass -p " + Quoted(archive.string()) + " >/dev/null 2>&1"), 0) << c.file;
    // And one member only.
    const std::string listing = Capture("unzip -Z1 " + Quoted(archive.string()));
    EXPECT_EQ(listing, member + "\n") << c.file;
    EXPECT_EQ(ReadProtectedText(archive, c.kind), lines) << c.file;
  }
}

TEST(ProtectedTextTest, UnreadableArchivesGiveAnEmptyText) {
  TempFolder folder;
  const fs::path wrongPassword = folder.path() / "a" / "task.upp";
  InfoZip(folder, wrongPassword, "task.upp", "line\r\n", "another");
  const fs::path otherMember = folder.path() / "b" / "task.upp";
  InfoZip(folder, otherMember, "tasks.upp", "line\r\n", DerivedPassword());
  const fs::path inFolder = folder.path() / "c" / "task.upp";
  folder.Write("src/sub/task.upp", "line\r\n");
  fs::create_directories(inFolder.parent_path());
  ASSERT_EQ(Shell("cd " + Quoted((folder.path() / "src").string()) + " && zip -q -P " + Quoted(DerivedPassword()) + " " +
                  Quoted(inFolder.string()) + " sub/task.upp"),
            0);
  const fs::path garbage = folder.Write("d/task.upp", "PK\x03\x04 this is not an archive");
  const fs::path truncated = folder.path() / "e" / "task.upp";
  {
    const fs::path whole = folder.path() / "e" / "whole" / "task.upp";
    InfoZip(folder, whole, "task.upp", std::string(4000, 'x'), DerivedPassword());
    const std::string bytes = *ReadWholeFile(whole);
    folder.Write("e/task.upp", bytes.substr(0, bytes.size() / 2));
  }
  struct Case {
    const char* name;
    fs::path file;
  };
  const Case cases[] = {
      {"missing", folder.path() / "none" / "task.upp"}, {"wrong password", wrongPassword},
      {"member named unlike the archive", otherMember},  {"member inside a folder", inFolder},
      {"not an archive", garbage},                       {"truncated", truncated},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ReadProtectedText(c.file, PasswordKind::Derived).empty()) << c.name;
    EXPECT_FALSE(UnpackMember(c.file, DerivedPassword()).ok()) << c.name;
  }
  EXPECT_EQ(UnpackMember(otherMember, DerivedPassword()).message(), "the archive holds no member named task.upp");
}

TEST(ProtectedTextTest, GameIdTestAndComments) {
  TempFolder folder;
  const LineList stored{"a", ";; a comment", "b ;; trailing", "c", "0123456789ABCDEFmy-game"};
  const fs::path upp = folder.path() / "dat" / "task.upp";
  const fs::path usp = folder.path() / "goods.usp";
  fs::create_directories(upp.parent_path());
  ASSERT_TRUE(WriteProtectedText(upp, PasswordKind::Derived, stored));
  ASSERT_TRUE(WriteProtectedText(usp, PasswordKind::Derived, stored));
  struct Case {
    fs::path file;
    PasswordKind kind;
    const char* gameId;
    LineList expected;
    bool message;
  };
  const Case cases[] = {
      {upp, PasswordKind::Derived, "my-game", {"a", "c", "0123456789ABCDEFmy-game"}, false},
      {upp, PasswordKind::Derived, "", {"a", "c", "0123456789ABCDEFmy-game"}, false},
      {upp, PasswordKind::Derived, "other", {}, true},
      {upp, PasswordKind::Derived, "y-game", {}, true},
      {usp, PasswordKind::Derived, "other", stored, false},  // ".usp": neither test nor removal
  };
  for (const Case& c : cases) {
    FakePrompter prompter;
    EXPECT_EQ(ReadProtectedText(c.file, c.kind, {c.gameId, &prompter}), c.expected) << c.file << " " << c.gameId;
    ASSERT_EQ(prompter.shown.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(prompter.shown[0].text, "错误，upp文件被意外修改，重新安装游戏可以修正此问题。");
      EXPECT_EQ(prompter.shown[0].caption, "error");
    }
  }
  // An empty last line is not tested; a short one fails.
  ASSERT_TRUE(WriteProtectedText(upp, PasswordKind::Derived, {"a", "x;;", ""}));
  EXPECT_EQ(ReadProtectedText(upp, PasswordKind::Derived, {"id", nullptr}), (LineList{"a", ""}));
  ASSERT_TRUE(WriteProtectedText(upp, PasswordKind::Derived, {"a", "0123456789ABCDEF"}));
  EXPECT_TRUE(ReadProtectedText(upp, PasswordKind::Derived, {"id", nullptr}).empty());
  // The event store keeps every line.
  const fs::path events = folder.path() / "event.fpp";
  ASSERT_TRUE(WriteProtectedText(events, PasswordKind::EventStore, stored));
  EXPECT_EQ(ReadProtectedText(events, PasswordKind::EventStore, {"other", nullptr}), stored);
}

TEST(ProtectedTextTest, CatalogueWatermark) {
  TempFolder folder;
  const fs::path file = folder.path() / "goods.usp";
  const LineList text{"[GOODS]", Utf8ToGbk("1=剑,一把剑"), ";; prices below", Utf8ToGbk("2=盾,一面盾")};
  const LineList expected{"[GOODS]", Utf8ToGbk("1=剑,一把剑"), Utf8ToGbk("2=盾,一面盾")};

  // The digest as md5sum computes it over the text with the address line, CR LF after each line.
  LineList withAddress = text;
  withAddress.push_back(std::string("Code=") + kCatalogueWatermarkAddress);
  folder.Write("digest-input", JoinLinesCrLf(withAddress));
  std::string digest = Capture("md5sum " + Quoted((folder.path() / "digest-input").string())).substr(0, 32);
  for (char& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  LineList marked = text;
  AddWatermark(marked, kCatalogueWatermarkAddress);
  EXPECT_EQ(marked.back(), "Code=" + digest);

  struct Case {
    const char* name;
    LineList stored;
    LineList expected;
  };
  LineList lowerCase = marked;
  for (char& c : lowerCase.back())
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  LineList withoutComment{text[0], text[1], text[3]};
  AddWatermark(withoutComment, kCatalogueWatermarkAddress);
  LineList commentAddedLater = withoutComment;
  commentAddedLater.insert(commentAddedLater.begin() + 2, ";; prices below");
  LineList otherAddress = text;
  AddWatermark(otherAddress, kSceneWatermarkAddress);
  const LineList invalid{kInvalidCatalogueLine};
  const Case cases[] = {
      {"valid", marked, expected},
      {"lower-case digits", lowerCase, invalid},
      {"comment added after marking", commentAddedLater, invalid},  // ";;" lines count for the digest
      {"another address", otherAddress, invalid},
      {"no watermark", text, invalid},
      {"empty", {}, invalid},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteProtectedText(file, PasswordKind::Derived, c.stored));
    EXPECT_EQ(ReadCatalogueText(file), c.expected) << c.name;
  }
  EXPECT_EQ(ReadCatalogueText(folder.path() / "missing.usp"), invalid);
}

TEST(ProtectedTextTest, WritesReplaceTheArchiveWhole) {
  TempFolder folder;
  const fs::path file = folder.path() / "task.upp";
  InfoZip(folder, file, "task.upp", "old\r\n", DerivedPassword());
  ASSERT_EQ(Shell("cd " + Quoted(folder.path().string()) + " && echo extra > extra.txt && zip -q " +
                  Quoted(file.string()) + " extra.txt"),
            0);
  ASSERT_TRUE(WriteProtectedText(file, PasswordKind::Derived, {"new"}));
  EXPECT_EQ(ReadProtectedText(file, PasswordKind::Derived), (LineList{"new"}));
  EXPECT_EQ(Capture("unzip -Z1 " + Quoted(file.string())), "task.upp\n");
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 3u);  // src/, extra.txt and the archive: no temporary file left

  const Status failed = WriteProtectedText(folder.path() / "no" / "such" / "task.upp", PasswordKind::Derived, {"x"});
  EXPECT_FALSE(failed.ok());
  EXPECT_FALSE(fs::exists(folder.path() / "no"));
}

}  // namespace
}  // namespace duvelin
