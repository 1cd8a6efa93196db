// The library list, selecting a library with its messages, the schedule files, deleting a
// word and writing an edited library back.
#include <gtest/gtest.h>

#include <filesystem>

#include "battle/fake_opener.h"
#include "battle/word_library_state.h"
#include "common/gbk_text.h"
#include "common/line_list.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;
using testing::FakeOpener;
using testing::FakePrompter;
using testing::ScriptedRandom;
using testing::TempFolder;
using Answer = Prompter::Answer;
using Icon = Prompter::Icon;

constexpr const char* kTooFew = "词库单词数过少，可能导致选词循环死锁。";

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

LineList GbkLines(std::initializer_list<const char*> utf8Lines) {
  LineList lines;
  for (const char* line : utf8Lines) lines.push_back(Gbk(line));
  return lines;
}

class WordLibraryStateTest : public ::testing::Test {
 protected:
  WordLibraryStateTest() { clock.now = {2024, 3, 1, 10, 0, 0, 0}; }

  // Writes a GBK library (or any line file) below the program folder; `relative` is UTF-8.
  void WriteLines(std::string_view relative, const LineList& lines) {
    folder.Write(relative, JoinLinesCrLf(lines));
  }
  LineList ReadLines(std::string_view relative) { return SplitLines(folder.Read(relative)); }
  bool Exists(std::string_view relative) { return fs::exists(folder.path() / fs::path(std::string(relative))); }

  void WriteBuiltIn(size_t count = 10) {
    LineList lines;
    for (size_t i = 0; i < count; ++i) lines.push_back("w" + std::to_string(i) + "=m" + std::to_string(i));
    WriteLines("words.ini", lines);
  }

  void SetModes(bool schedule, bool sequential, int repeatSetting = 0) {
    state.SetModes({schedule, sequential, repeatSetting});
  }

  // Fills the list and selects the entry whose text is `utf8Entry`.
  SelectOutcome Select(std::string_view utf8Entry) {
    if (state.List().Count() == 2) state.FillLibraryList();
    for (int position = 0; position < state.List().Count(); ++position)
      if (state.List().At(position).text == Gbk(utf8Entry)) return state.SelectLibrary(position);
    ADD_FAILURE() << "no entry " << utf8Entry;
    return SelectOutcome::NothingSelected;
  }

  std::vector<std::string> EntryTexts() {
    std::vector<std::string> texts;
    for (const auto& entry : state.List().Entries()) texts.push_back(GbkToUtf8(entry.text));
    return texts;
  }

  TempFolder folder;
  FakePrompter prompter;
  FakeClock clock;
  ScriptedRandom random;
  FakeOpener opener;
  WordLibraryState state{ProgramFolder(folder.path()), prompter, clock, random, opener};
};

TEST_F(WordLibraryStateTest, TheListHoldsTheBuiltInLibraryTheIniFilesAndTheActionEntry) {
  EXPECT_EQ(EntryTexts(), (std::vector<std::string>{"基础单词900个", "编辑下载更多词库……"}));
  state.FillLibraryList();
  EXPECT_EQ(EntryTexts(), (std::vector<std::string>{"基础单词900个", "编辑下载更多词库……"}));  // no Lib folder

  folder.Write("lib/b.ini", "x=y\r\n");
  folder.Write("lib/A.INI", "x=y\r\n");
  folder.Write("lib/日常短句.ini", "x=y\r\n");
  folder.Write("lib/notes.txt", "x=y\r\n");
  fs::create_directories(folder.path() / "lib" / "folder.ini");
  state.FillLibraryList();
  EXPECT_EQ(EntryTexts(), (std::vector<std::string>{"基础单词900个", "A.INI", "b.ini", "日常短句.ini",
                                                    "编辑下载更多词库……"}));
  EXPECT_EQ(state.SelectedPosition(), 0);
}

TEST_F(WordLibraryStateTest, SelectingLoadsTheFileAndNamesItsSchedule) {
  WriteBuiltIn(5);
  WriteLines("Lib/cet4.ini", GbkLines({"abandon=v. 放弃", "ability=n. 能力", "able=adj. 能够的", "about=prep. 关于"}));
  EXPECT_EQ(Select("基础单词900个"), SelectOutcome::Loaded);
  EXPECT_EQ(state.Library().Size(), 5u);
  EXPECT_EQ(state.ScheduleName(), "words.ini.abhs");
  EXPECT_EQ(state.LibraryPathText(), "words.ini");
  EXPECT_EQ(state.LibraryPath(), folder.path() / "words.ini");

  EXPECT_EQ(Select("cet4.ini"), SelectOutcome::Loaded);
  EXPECT_EQ(state.Library().Lines(), GbkLines({"abandon=v. 放弃", "ability=n. 能力", "able=adj. 能够的", "about=prep. 关于"}));
  EXPECT_EQ(state.ScheduleName(), "cet4.ini.abhs");
  EXPECT_EQ(state.LibraryPath(), folder.path() / "Lib" / "cet4.ini");
  EXPECT_EQ(state.SelectedPosition(), 1);
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(WordLibraryStateTest, AMissingFileKeepsTheCurrentLibrary) {
  WriteBuiltIn(5);
  WriteLines("Lib/gone.ini", {"a=b", "c=d", "e=f"});
  Select("基础单词900个");
  fs::remove(folder.path() / "Lib" / "gone.ini");
  EXPECT_EQ(Select("gone.ini"), SelectOutcome::FileMissing);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "词库文件被移走，请选择其他的试试。");
  EXPECT_EQ(prompter.shown[0].caption, "文件不存在");
  EXPECT_EQ(prompter.shown[0].icon, Icon::Error);
  EXPECT_EQ(state.Library().Size(), 5u);
  EXPECT_EQ(state.ScheduleName(), "words.ini.abhs");
  EXPECT_EQ(state.LibraryPathText(), "words.ini");
}

TEST_F(WordLibraryStateTest, ASentenceLibraryWarnsAboutTheSingleWidthWordBar) {
  WriteLines("Lib/日常短句.ini", GbkLines({"Good morning.=早上好。", "How are you?=你好吗？", "See you.=再见。"}));
  Select("日常短句.ini");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "您启用的词库包含句子，词条可能比较长,会显示不完全。建议您在游戏的“系统设置页面”内开启“单词栏双倍宽度”功能。");
  EXPECT_EQ(prompter.shown[0].caption, "提示");

  prompter.shown.clear();
  state.SetWordBarWidth(WordBarWidth::Double);
  Select("日常短句.ini");
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(WordLibraryStateTest, SmallLibrariesGetThePlaceholderLines) {
  const LineList placeholders = GbkLines({"aa=请修改词库", "bb=单词太少了", "cc=请增加单词"});
  struct Case {
    LineList lines;
    bool padded;
  };
  const Case cases[] = {
      {{}, true},
      {{"a=1"}, true},
      {{"a=1", "b=2"}, true},
      {{"a=1", "b=2", "c=3"}, false},
      {{"[word]", "", "[more]", ""}, true},  // nothing that could be asked
      {{"[word]", "", "x"}, false},          // a line without "=" is still asked
  };
  for (const auto& c : cases) {
    WriteLines("Lib/small.ini", c.lines);
    prompter.shown.clear();
    Select("small.ini");
    LineList expected = c.lines;
    if (c.padded) expected.insert(expected.end(), placeholders.begin(), placeholders.end());
    EXPECT_EQ(state.Library().Lines(), expected) << c.lines.size();
    ASSERT_EQ(prompter.shown.size(), c.padded ? 1u : 0u);
    if (c.padded) {
      EXPECT_EQ(prompter.shown[0].text, kTooFew);
      EXPECT_EQ(prompter.shown[0].caption, "严重错误");
      EXPECT_EQ(prompter.shown[0].icon, Icon::Error);
    }
  }
}

TEST_F(WordLibraryStateTest, AMissingBuiltInLibraryIsPaddedNotFatal) {
  state.FillLibraryList();
  EXPECT_EQ(state.SelectLibrary(0), SelectOutcome::Loaded);
  EXPECT_EQ(state.Library().Size(), 3u);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, kTooFew);
}

TEST_F(WordLibraryStateTest, TheActionEntryOpensThePageAndTheFolderAndGivesTheSelectionBack) {
  WriteBuiltIn(5);
  WriteLines("Lib/a.ini", {"a=1", "b=2", "c=3"});
  Select("a.ini");
  const int actionPosition = state.List().Count() - 1;
  EXPECT_EQ(state.SelectLibrary(actionPosition), SelectOutcome::ActionEntry);
  EXPECT_EQ(opener.pages, (std::vector<std::string>{kWordLibraryPageAddress}));
  EXPECT_EQ(opener.folders, (std::vector<fs::path>{folder.path() / "Lib"}));
  EXPECT_EQ(state.SelectedPosition(), 1);
  EXPECT_EQ(state.Library().Lines(), (LineList{"a=1", "b=2", "c=3"}));
  EXPECT_EQ(state.ScheduleName(), "a.ini.abhs");
}

TEST_F(WordLibraryStateTest, PositionsThatNameNoLibrary) {
  WriteBuiltIn(5);
  WriteLines("Lib/a.ini", {"a=1", "b=2", "c=3"});
  state.FillLibraryList();
  EXPECT_EQ(state.SelectLibrary(-1), SelectOutcome::NothingSelected);
  EXPECT_EQ(state.Library().Size(), 0u);
  EXPECT_EQ(state.SelectLibrary(17), SelectOutcome::Loaded);
  EXPECT_EQ(state.SelectedPosition(), 0);
  // At start a saved position beyond the list or on the action entry selects the built-in one.
  for (int saved : {-1, 2, 9}) {
    opener.pages.clear();
    EXPECT_EQ(state.SelectLibraryAtStart(saved), SelectOutcome::Loaded);
    EXPECT_EQ(state.SelectedPosition(), 0);
    EXPECT_TRUE(opener.pages.empty());
  }
  EXPECT_EQ(state.SelectLibraryAtStart(1), SelectOutcome::Loaded);
  EXPECT_EQ(state.ScheduleName(), "a.ini.abhs");
}

TEST_F(WordLibraryStateTest, QuizPicksSkipHeadersAndEmptyLinesAndNameTheirLine) {
  WriteLines("Lib/odd.ini", GbkLines({"[word]", "", "no equals sign", "apple=n. 苹果", "[end]"}));
  Select("odd.ini");
  random.values = {0, 1, 4, 0, 3, 1, 2};
  EXPECT_EQ(state.PickAskableWord(), 3u);
  EXPECT_EQ(state.CurrentLineIndex(), 3u);
  EXPECT_EQ(GbkToUtf8(state.DescribeCurrentLine()), "第4单词：apple=n. 苹果");
  EXPECT_EQ(state.PickAskableWord(), 2u);
  EXPECT_EQ(GbkToUtf8(state.DescribeCurrentLine()), "第3单词：no equals sign");
  // A random source stuck on a header still ends with an askable line.
  random.values.clear();
  EXPECT_EQ(state.PickAskableWord(), 2u);
}

class ScheduleFilesTest : public WordLibraryStateTest {
 protected:
  std::string Entry(int day, int hour, int index) {
    return std::to_string(PackFatDateTime({2024, 3, day, hour, 0, 0, 0})) + "," + std::to_string(index);
  }
  void WriteStage(int stage, std::string_view name, const LineList& entries) {
    WriteLines("save/" + std::to_string(stage) + std::string(name), entries);
  }
};

TEST_F(ScheduleFilesTest, OnlyStagesFourToEightAreWrittenAndLoaded) {
  WriteBuiltIn(10);
  SetModes(true, false);
  for (int stage = 1; stage <= 8; ++stage) WriteStage(stage, "words.ini.abhs", {Entry(1, stage, stage)});
  Select("基础单词900个");
  for (int stage = 1; stage <= 8; ++stage)
    EXPECT_EQ(state.Picker().Table().StageEntries(stage).size(), stage >= 4 ? 1u : 0u) << stage;

  fs::remove_all(folder.path() / "save");
  for (int stage = 1; stage <= 8; ++stage) state.Picker().Table().AppendEntry(stage, Entry(2, stage, 9));
  ASSERT_TRUE(state.SaveAbhsTable());
  for (int stage = 1; stage <= 8; ++stage)
    EXPECT_EQ(Exists("save/" + std::to_string(stage) + "words.ini.abhs"), stage >= 4) << stage;
  EXPECT_EQ(folder.Read("save/5words.ini.abhs"), Entry(1, 5, 5) + "\r\n" + Entry(2, 5, 9) + "\r\n");
}

TEST_F(ScheduleFilesTest, OutsideScheduleModeNothingIsWritten) {
  WriteBuiltIn(10);
  Select("基础单词900个");
  state.Picker().Table().AppendEntry(5, Entry(1, 1, 1));
  ASSERT_TRUE(state.SaveAbhsTable());
  EXPECT_FALSE(Exists("save"));
}

TEST_F(ScheduleFilesTest, AnEmptiedStageKeepsItsOldFile) {
  WriteBuiltIn(10);
  SetModes(true, false);
  WriteStage(6, "words.ini.abhs", {Entry(1, 1, 3), Entry(1, 2, 4)});
  WriteStage(7, "words.ini.abhs", {Entry(1, 1, 5)});
  Select("基础单词900个");
  state.Picker().Table().ClearStage(6);
  state.Picker().Table().AppendEntry(7, Entry(1, 3, 6));
  ASSERT_TRUE(state.SaveAbhsTable());
  EXPECT_EQ(ReadLines("save/6words.ini.abhs"), (LineList{Entry(1, 1, 3), Entry(1, 2, 4)}));
  EXPECT_EQ(ReadLines("save/7words.ini.abhs"), (LineList{Entry(1, 1, 5), Entry(1, 3, 6)}));
}

TEST_F(ScheduleFilesTest, ALibraryWithoutStageFilesKeepsThePreviousStagesFourToEight) {
  WriteBuiltIn(10);
  WriteLines("Lib/a.ini", {"a=1", "b=2", "c=3"});
  SetModes(true, false);
  WriteStage(4, "words.ini.abhs", {Entry(1, 1, 3)});
  WriteStage(8, "words.ini.abhs", {Entry(1, 2, 4)});
  WriteStage(5, "a.ini.abhs", {Entry(1, 3, 1)});
  Select("基础单词900个");
  state.Picker().Table().AppendEntry(1, Entry(1, 4, 2));
  Select("a.ini");
  const AbhsTable& table = state.Picker().Table();
  EXPECT_TRUE(table.StageEntries(1).empty());
  EXPECT_EQ(table.StageEntries(4), AbhsTable::Stage{Entry(1, 1, 3)});
  EXPECT_EQ(table.StageEntries(5), AbhsTable::Stage{Entry(1, 3, 1)});
  EXPECT_EQ(table.StageEntries(8), AbhsTable::Stage{Entry(1, 2, 4)});
}

TEST_F(ScheduleFilesTest, ClearingDeletesAllSixteenNames) {
  WriteLines("Lib/a.ini", {"a=1", "b=2", "c=3"});
  for (int stage = 1; stage <= 8; ++stage) {
    WriteStage(stage, "a.ini.abhs", {Entry(1, 1, 1)});
    WriteStage(stage, "words.ini.abhs", {Entry(1, 1, 1)});
  }
  WriteStage(9, "a.ini.abhs", {"kept"});
  WriteStage(1, "b.ini.abhs", {"kept"});
  Select("a.ini");
  ASSERT_TRUE(state.ClearAbhsTable());
  EXPECT_EQ(state.Picker().Table().TotalEntries(), 0u);
  for (int stage = 1; stage <= 8; ++stage) {
    EXPECT_FALSE(Exists("save/" + std::to_string(stage) + "a.ini.abhs")) << stage;
    EXPECT_FALSE(Exists("save/" + std::to_string(stage) + "words.ini.abhs")) << stage;
  }
  EXPECT_TRUE(Exists("save/9a.ini.abhs"));
  EXPECT_TRUE(Exists("save/1b.ini.abhs"));
}

TEST_F(ScheduleFilesTest, GarbageLinesInAStageFileNeitherCrashNorHang) {
  WriteBuiltIn(10);
  SetModes(true, false);
  WriteStage(4, "words.ini.abhs", {Entry(1, 1, 99), "1,xyz", "garbage", "", Entry(1, 1, 2)});
  WriteStage(5, "words.ini.abhs", {"no time here", Entry(1, 1, 3)});
  Select("基础单词900个");
  clock.now = {2024, 3, 9, 0, 0, 0, 0};
  random.values = {7, 8};
  EXPECT_EQ(state.PickNextWord(), 7u);  // index 99 is not in the library: a random line, moved on
  EXPECT_EQ(state.PickNextWord(), 0u);  // "xyz" reads as line 0
  EXPECT_TRUE(state.Picker().ScheduledMark());
  // "garbage" now heads stage 4 and stage 5 never had a time: neither is ever due.
  for (int i = 0; i < 50; ++i) EXPECT_LT(state.PickAskableWord(), 10u);
  EXPECT_EQ(state.Picker().Table().StageEntries(4).size(), 3u);
  EXPECT_EQ(state.Picker().Table().StageEntries(5).size(), 4u);
}

TEST_F(ScheduleFilesTest, ACharactersSaveFolderHoldsTheSchedule) {
  WriteBuiltIn(10);
  SetModes(true, false);
  Select("基础单词900个");
  state.Picker().Table().AppendEntry(5, Entry(1, 1, 1));
  state.SetCurrentSaveFolder(folder.path() / "save" / "2024-03-01");
  EXPECT_EQ(state.CurrentScheduleFolder(), folder.path() / "save");
  const fs::path character = folder.path() / "users" / "Tom!1";
  state.SetCurrentSaveFolder(character);
  EXPECT_EQ(state.CurrentScheduleFolder(), character);
  ASSERT_TRUE(state.SaveAbhsTable());
  EXPECT_TRUE(fs::exists(character / "5words.ini.abhs"));
  EXPECT_FALSE(Exists("save/5words.ini.abhs"));
}

TEST_F(WordLibraryStateTest, DeletingIsRefusedInScheduleModeUnlessSequentialModeIsOn) {
  WriteBuiltIn(10);
  Select("基础单词900个");
  SetModes(true, false);
  state.PickNextWord();
  EXPECT_EQ(state.DeleteCurrentWord(), DeleteOutcome::Refused);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "不能删除。当前艾宾浩斯科学记忆方式开启，只有在同时开启顺序记忆时才能把单词从词库删除，否则会导致序列混乱。");
  EXPECT_EQ(prompter.shown[0].caption, "确认");
  EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
  EXPECT_EQ(state.Library().Size(), 10u);
  EXPECT_FALSE(state.IsModified());

  for (bool schedule : {true, false}) {
    SetModes(schedule, true);
    prompter.shown.clear();
    prompter.answers = {Answer::No};
    EXPECT_EQ(state.DeleteCurrentWord(), DeleteOutcome::Declined);
    EXPECT_EQ(prompter.shown.at(0).text, "是否从词库中删除当前单词？");
    EXPECT_EQ(prompter.shown.at(0).caption, "确认");
    EXPECT_EQ(prompter.shown.at(0).buttons, Prompter::Buttons::YesNo);
  }
  SetModes(false, false);
  EXPECT_EQ(state.DeleteCurrentWord(), DeleteOutcome::Deleted);
  EXPECT_EQ(state.Library().Size(), 9u);
  EXPECT_TRUE(state.IsModified());
  EXPECT_EQ(ReadLines("words.ini").size(), 10u);  // the file is written only at exit
}

TEST_F(WordLibraryStateTest, DeletingInSequentialOrderDoesNotSkipTheNextWord) {
  WriteBuiltIn(6);
  Select("基础单词900个");
  SetModes(false, true);
  EXPECT_EQ(state.PickNextWord(), 0u);
  EXPECT_EQ(state.PickNextWord(), 1u);
  state.DeleteCurrentWord();
  EXPECT_EQ(state.Library().Line(state.PickNextWord()), "w2=m2");
}

TEST_F(WordLibraryStateTest, DeletingFromASmallLibraryPadsItAgain) {
  WriteLines("Lib/three.ini", {"[word]", "a=1", "b=2"});
  Select("three.ini");
  SetModes(false, true);
  state.PickNextWord();
  state.PickNextWord();
  EXPECT_EQ(state.DeleteCurrentWord(), DeleteOutcome::Deleted);
  EXPECT_EQ(state.Library().Size(), 5u);
  EXPECT_EQ(prompter.shown.back().text, kTooFew);
}

class SaveEditedLibraryTest : public WordLibraryStateTest {
 protected:
  void DeleteFirstWord() {
    SetModes(false, true);
    state.Picker().SetSequentialPosition(0);
    state.PickNextWord();
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(state.DeleteCurrentWord(), DeleteOutcome::Deleted);
    prompter.shown.clear();
  }
};

TEST_F(SaveEditedLibraryTest, AnUnchangedLibraryAsksNothing) {
  WriteBuiltIn(5);
  Select("基础单词900个");
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::NotModified);
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SaveEditedLibraryTest, YesReplacesTheLibraryFile) {
  WriteBuiltIn(5);
  Select("基础单词900个");
  DeleteFirstWord();
  prompter.answers = {Answer::Yes, Answer::Yes};
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::Replaced);
  ASSERT_EQ(prompter.shown.size(), 3u);
  EXPECT_EQ(prompter.shown[0].text, "词库文件被更改，是否保存此更改？");
  EXPECT_EQ(prompter.shown[0].caption, "保存词库");
  EXPECT_EQ(prompter.shown[1].text, "选择“是”替换当前词库为更改后的内容，选择“否”保存更新后的词库为一个新词库名。");
  EXPECT_EQ(prompter.shown[1].buttons, Prompter::Buttons::YesNoCancel);
  EXPECT_EQ(prompter.shown[1].icon, Icon::Warning);
  EXPECT_EQ(prompter.shown[2].text, "当前词库文件：" + (folder.path() / "words.ini").string() + " 已经更新。");
  EXPECT_EQ(prompter.shown[2].caption, "已保存");
  EXPECT_EQ(ReadLines("words.ini"), (LineList{"w1=m1", "w2=m2", "w3=m3", "w4=m4"}));
  EXPECT_FALSE(state.IsModified());
}

TEST_F(SaveEditedLibraryTest, NoSavesTheBuiltInLibraryAsTheNextFreeLibWordsFile) {
  WriteBuiltIn(5);
  Select("基础单词900个");
  for (const char* expected : {"Lib/words1.ini", "Lib/words2.ini"}) {
    DeleteFirstWord();
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::SavedAsNew);
    const fs::path file = folder.path() / expected;
    ASSERT_TRUE(fs::exists(file)) << expected;
    EXPECT_EQ(prompter.shown.back().text, "改动后的词库已经保存为新文件：" + file.string() +
                                              " 当程序重新启动后会出现在可选择的词库列表内。");
    EXPECT_EQ(prompter.shown.back().caption, "已保存");
  }
  EXPECT_EQ(ReadLines("Lib/words2.ini"), (LineList{"w2=m2", "w3=m3", "w4=m4"}));
  EXPECT_EQ(ReadLines("words.ini").size(), 5u);
}

TEST_F(SaveEditedLibraryTest, ALibFileIsSavedBesideItselfWithTheNextNumber) {
  WriteLines("Lib/cet4.ini", {"a=1", "b=2", "c=3", "d=4"});
  folder.Write("Lib/cet41.ini", "taken\r\n");
  Select("cet4.ini");
  DeleteFirstWord();
  prompter.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::SavedAsNew);
  EXPECT_EQ(ReadLines("Lib/cet42.ini"), (LineList{"b=2", "c=3", "d=4"}));
  EXPECT_EQ(folder.Read("Lib/cet41.ini"), "taken\r\n");
}

TEST_F(SaveEditedLibraryTest, NoOrCancelWritesNothing) {
  WriteBuiltIn(5);
  Select("基础单词900个");
  DeleteFirstWord();
  prompter.answers = {Answer::No};
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::Declined);
  prompter.answers = {Answer::Yes, Answer::Cancel};
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::Cancelled);
  EXPECT_EQ(ReadLines("words.ini").size(), 5u);
  EXPECT_FALSE(Exists("Lib"));
  EXPECT_TRUE(state.IsModified());
}

TEST_F(SaveEditedLibraryTest, SwitchingLibrariesDropsTheUnsavedDeletion) {
  WriteBuiltIn(5);
  WriteLines("Lib/a.ini", {"a=1", "b=2", "c=3"});
  Select("基础单词900个");
  DeleteFirstWord();
  Select("a.ini");
  EXPECT_FALSE(state.IsModified());
  EXPECT_EQ(state.SaveEditedLibrary(), LibrarySaveOutcome::NotModified);
}

}  // namespace
}  // namespace duvelin
