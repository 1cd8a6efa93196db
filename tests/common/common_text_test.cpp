// GBK text, line lists, atomic writes and the path resolver.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/line_list.h"
#include "common/program_folder.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

const std::string kGbkZhong = "\xD6\xD0";  // 中 in GBK
const std::string kUtf8Zhong = "\xE4\xB8\xAD";

TEST(GbkText, RoundTripsChineseAndAscii) {
  EXPECT_EQ(GbkToUtf8("ab" + kGbkZhong + "c"), "ab" + kUtf8Zhong + "c");
  EXPECT_EQ(Utf8ToGbk("ab" + kUtf8Zhong + "c"), "ab" + kGbkZhong + "c");
}

TEST(GbkText, BadBytesAreReplacedNotFatal) {
  EXPECT_EQ(GbkToUtf8("a\xFF"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToGbk("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToGbk("a\xC3(b"), "a?(b");
}

TEST(GbkText, ByteOrderMarkedFilesAreConverted) {
  EXPECT_EQ(FileBytesToGbk("\xEF\xBB\xBF" + kUtf8Zhong), kGbkZhong);
  EXPECT_EQ(FileBytesToGbk(kGbkZhong), kGbkZhong);
}

TEST(LineList, SplitsOnEveryKindOfLineEnd) {
  struct Case {
    std::string text;
    LineList lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"a\r\rb", {"a", "", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(LineList, WritesCrLfAndReadsBack) {
  TempFolder folder;
  fs::path file = folder.path() / "list.txt";
  ASSERT_TRUE(WriteLineList(file, {"one", "", kGbkZhong}).ok());
  EXPECT_EQ(folder.Read("list.txt"), "one\r\n\r\n" + kGbkZhong + "\r\n");
  auto back = ReadLineList(file);
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(*back, (LineList{"one", "", kGbkZhong}));
}

TEST(FileIo, AtomicWriteLeavesNoTemporaryAndReportsFailure) {
  TempFolder folder;
  ASSERT_TRUE(WriteFileAtomically(folder.path() / "a.txt", "new").ok());
  int entries = 0;
  for (auto& entry : fs::directory_iterator(folder.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  Status failed = WriteFileAtomically(folder.path() / "missing" / "a.txt", "x");
  EXPECT_FALSE(failed.ok());
  EXPECT_FALSE(ReadWholeFile(folder.path() / "nothing").ok());
}

TEST(ProgramFolderResolve, IgnoresLetterCasePerComponentAndTakesGbkNames) {
  TempFolder folder;
  folder.Write("Lib/Words.INI", "x");
  folder.Write("lib2/" + kUtf8Zhong + ".ini", "y");
  ProgramFolder program(folder.path());
  EXPECT_EQ(program.Resolve("lib\\words.ini"), folder.path() / "Lib" / "Words.INI");
  EXPECT_EQ(program.Resolve("LIB/WORDS.ini"), folder.path() / "Lib" / "Words.INI");
  EXPECT_EQ(program.Resolve("lib2\\" + kGbkZhong + ".ini"), folder.path() / "lib2" / (kUtf8Zhong + ".ini"));
  // Missing components are kept as written, below the best match found.
  EXPECT_EQ(program.Resolve("LIB\\new.ini"), folder.path() / "Lib" / "new.ini");
  EXPECT_EQ(program.Resolve("/abs/file"), fs::path("/abs/file"));
}

}  // namespace
}  // namespace duvelin
