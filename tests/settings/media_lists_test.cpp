// The picture and music lists: loading, saving, clearing, and the lyric-offset prefix of a
// music entry.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/media_lists.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

TEST(MusicEntry, OffsetOnlyWhenTheEntryStartsWithABracket) {
  struct Case {
    std::string entry;
    MusicEntry parsed;
  };
  const Case cases[] = {
      {"[-1500]D:\\music\\a.mp3", {true, -1500, "D:\\music\\a.mp3"}},
      {"[3000]/home/u/b.wma", {true, 3000, "/home/u/b.wma"}},
      {"[x]D:\\music\\a.mp3", {true, 0, "D:\\music\\a.mp3"}},
      {"[]D:\\a.mp3", {true, 0, "D:\\a.mp3"}},
      {"[+20]a.mp3", {true, 20, "a.mp3"}},
      {"[1]]b.mp3", {true, 1, "]b.mp3"}},
      {"[12]", {true, 12, ""}},
      {"D:\\music\\[live] song [2].mp3", {false, 0, "D:\\music\\[live] song [2].mp3"}},
      {"/music/[1000]x.mp3", {false, 0, "/music/[1000]x.mp3"}},
      {"[unclosed.mp3", {false, 0, "[unclosed.mp3"}},
      {"", {false, 0, ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMusicEntry(c.entry), c.parsed) << c.entry;
}

TEST(MusicEntry, FormattingIsTheInverse) {
  EXPECT_EQ(FormatMusicEntry(3000, "D:\\a.mp3"), "[3000]D:\\a.mp3");
  EXPECT_EQ(FormatMusicEntry(-1500, "/m/b.wma"), "[-1500]/m/b.wma");
  EXPECT_EQ(FormatMusicEntry(MusicEntry{false, 0, "D:\\[x].mp3"}), "D:\\[x].mp3");
  for (const char* entry : {"[-1500]D:\\a.mp3", "[0]/m/a.mp3", "D:\\[live].mp3", "/x.mp3"})
    EXPECT_EQ(FormatMusicEntry(ParseMusicEntry(entry)), entry);
  // A rewritten offset replaces any old prefix.
  EXPECT_EQ(FormatMusicEntry(2000, ParseMusicEntry("[x]D:\\a.mp3").path), "[2000]D:\\a.mp3");
}

class MediaListsTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ProgramFolder program{folder.path()};
  TGameOptions options;
  MediaLists lists;
};

TEST_F(MediaListsTest, LoadsBothListsInOrder) {
  folder.Write("Save/bg_img.txt", "D:\\p\\\xD6\xD0.jpg\r\n/p/b.png\r\n");
  folder.Write("Save/BG_MUSIC.TXT", "[-1500]D:\\m\\a.mp3\nD:\\m\\b.wma");
  options.pictures.bg_img = 1;
  options.music.bg_music = 1;
  ASSERT_TRUE(LoadMediaLists(program, lists, options).ok());
  EXPECT_EQ(lists.pictures.Entries(), (LineList{"D:\\p\\\xD6\xD0.jpg", "/p/b.png"}));
  EXPECT_EQ(lists.music.Entries(), (LineList{"[-1500]D:\\m\\a.mp3", "D:\\m\\b.wma"}));
  EXPECT_EQ(options.pictures.bg_img, 1);
  EXPECT_EQ(options.music.bg_music, 1);
}

TEST_F(MediaListsTest, AMissingListFileLeavesTheListEmptyAndItsSwitchOff) {
  folder.Write("save/bg_img.txt", "");  // present but empty: the switch stays as it was
  options.pictures.bg_img = 1;
  options.music.bg_music = 1;
  lists.music.Append("stale");
  ASSERT_TRUE(LoadMediaLists(program, lists, options).ok());
  EXPECT_TRUE(lists.pictures.Empty());
  EXPECT_TRUE(lists.music.Empty());
  EXPECT_EQ(options.pictures.bg_img, 1);
  EXPECT_EQ(options.music.bg_music, 0);

  fs::remove(folder.path() / "save" / "bg_img.txt");
  ASSERT_TRUE(LoadMediaLists(program, lists, options).ok());
  EXPECT_EQ(options.pictures.bg_img, 0);
}

TEST_F(MediaListsTest, SavingWritesTheWholeListAndMakesTheFolder) {
  lists.music.Assign({"D:\\m\\a.mp3", "[2000]D:\\m\\b.mp3"});
  ASSERT_TRUE(SaveMediaList(program, MediaKind::Music, lists.music).ok());
  EXPECT_EQ(folder.Read("save/bg_music.txt"), "D:\\m\\a.mp3\r\n[2000]D:\\m\\b.mp3\r\n");
  // Deleting the last entry writes an empty file; only clearing deletes it.
  lists.pictures.Append("a.jpg");
  ASSERT_TRUE(lists.pictures.RemoveAt(0));
  ASSERT_TRUE(SaveMediaList(program, MediaKind::Pictures, lists.pictures).ok());
  EXPECT_TRUE(fs::exists(folder.path() / "save" / "bg_img.txt"));
  EXPECT_EQ(folder.Read("save/bg_img.txt"), "");
}

TEST_F(MediaListsTest, ClearingDeletesTheFileAndSwitchesOff) {
  folder.Write("save/bg_music.txt", "a.mp3\r\n");
  lists.music.Assign({"a.mp3"});
  options.music.bg_music = 1;
  ASSERT_TRUE(ClearMediaList(program, MediaKind::Music, lists.music, options).ok());
  EXPECT_TRUE(lists.music.Empty());
  EXPECT_EQ(options.music.bg_music, 0);
  EXPECT_FALSE(fs::exists(folder.path() / "save" / "bg_music.txt"));
  // Clearing again, with no file left, is fine.
  EXPECT_TRUE(ClearMediaList(program, MediaKind::Music, lists.music, options).ok());
}

TEST_F(MediaListsTest, AFailedWriteIsAnErrorAndKeepsTheList) {
  folder.Write("save", "a file where the folder should be");
  lists.pictures.Assign({"a.jpg"});
  EXPECT_FALSE(SaveMediaList(program, MediaKind::Pictures, lists.pictures).ok());
  EXPECT_EQ(lists.pictures.Entries(), LineList{"a.jpg"});
}

TEST(MediaList, EntriesAreChangedOnlyWithinRange) {
  MediaList list;
  list.Assign({"a", "b"});
  EXPECT_TRUE(list.SetAt(1, "[10]b"));
  EXPECT_FALSE(list.SetAt(2, "c"));
  EXPECT_FALSE(list.RemoveAt(5));
  EXPECT_EQ(list.At(1), "[10]b");
  EXPECT_FALSE(list.At(2).has_value());
  EXPECT_EQ(list.Size(), 2u);
}

}  // namespace
}  // namespace duvelin
