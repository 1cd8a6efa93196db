// The name=value rules of the settings file as the settings store relies on them: first match,
// letter case of names, blanks kept, empty values deleting, unknown lines kept in place.
#include <gtest/gtest.h>

#include "common/line_list.h"
#include "common/settings_file.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;

TEST(SettingsFileRules, LookupsTakeTheFirstMatchIgnoringCaseAndSkipLinesWithoutEquals) {
  SettingsFile file(LineList{"junk", "GAME_BK=1", "game_bk=0", "game_bk =5", "a= 1 ", "=nameless", "junk=x"});
  EXPECT_EQ(file.Text("game_bk"), "1");
  EXPECT_TRUE(file.Flag("Game_Bk"));
  // A blank before "=" belongs to the name.
  EXPECT_EQ(file.Text("game_bk "), "5");
  // Values are not trimmed; a blank makes a flag false and a number unreadable.
  EXPECT_EQ(file.Text("a"), " 1 ");
  EXPECT_FALSE(file.Flag("a"));
  EXPECT_EQ(file.Integer("a"), 0);
  // A line without "=" is not a key, even when a later line has that name.
  EXPECT_EQ(file.Text("junk"), "x");
  EXPECT_FALSE(file.Find("missing").has_value());
  EXPECT_EQ(file.Text("missing"), "");
  EXPECT_EQ(file.Integer("missing"), 0);
  EXPECT_FALSE(file.Flag("missing"));
}

TEST(SettingsFileRules, FlagsAreOnOnlyForExactlyOne) {
  const std::pair<const char*, bool> cases[] = {
      {"1", true}, {"0", false}, {"01", false}, {"true", false}, {" 1", false}, {"1 ", false}, {"2", false}, {"", false},
  };
  for (auto [value, on] : cases) EXPECT_EQ(SettingsFile(LineList{std::string("f=") + value}).Flag("f"), on) << value;
}

TEST(SettingsFileRules, IntegersReadAsThePlatformReadsThem) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"12", 12},
      {"-5", -5},
      {"+7", 7},
      {" 3", 3},
      {"3 ", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"--5", std::nullopt},
      {"+-5", std::nullopt},
      {"-", std::nullopt},
      {"$FF", 255},
      {"$-5", std::nullopt},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$1FFFFFFFF", std::nullopt},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
  };
  for (auto [text, value] : cases) EXPECT_EQ(ParseInteger(text), value) << text;
}

TEST(SettingsFileRules, WritingReplacesTheFirstMatchInPlaceAppendsOrDeletes) {
  SettingsFile file(LineList{"; header", "k=first", "GAME_BK=1", "game_bk =1", "k=second", "odd line", "x=1"});
  file.Set("k", "new");              // first of two: the second stays
  file.Set("game_bk", "0");          // capitals: rewritten in place with the name as written now
  file.Set("sch_key", "");           // empty and missing: nothing happens
  file.Set("x", "");                 // empty: the line goes
  file.Set("lrc_dir", "D:\\lrc\\");  // missing: appended
  EXPECT_EQ(file.Lines(),
            (LineList{"; header", "k=new", "game_bk=0", "game_bk =1", "k=second", "odd line", "lrc_dir=D:\\lrc\\"}));
  EXPECT_EQ(file.Text("k"), "new");
  EXPECT_EQ(file.Text("x"), "");
  // Deleting the first of two uncovers the second.
  file.Set("k", "");
  EXPECT_EQ(file.Text("k"), "second");
}

TEST(SettingsFileRules, SaveWritesEveryLineWithCrLfAndKeepsUnknownLines) {
  TempFolder folder;
  folder.Write("set.txt", "zz unknown\nb=2\r\n\r\nc=\xD6\xD0\rdangling");
  auto file = SettingsFile::Load(folder.path() / "set.txt");
  ASSERT_TRUE(file.ok());
  file.value().Set("b", "3");
  file.value().SetInteger("n", -4);
  ASSERT_TRUE(file->Save(folder.path() / "set.txt").ok());
  EXPECT_EQ(folder.Read("set.txt"), "zz unknown\r\nb=3\r\n\r\nc=\xD6\xD0\r\ndangling\r\nn=-4\r\n");
  EXPECT_FALSE(SettingsFile::Load(folder.path() / "none.txt").ok());
}

}  // namespace
}  // namespace duvelin
