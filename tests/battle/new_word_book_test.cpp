// Adding words from the reader to the new-word book lib\生词本.ini.
#include <gtest/gtest.h>

#include <filesystem>

#include "battle/fake_opener.h"
#include "battle/new_word_book.h"
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
using testing::FakePrompter;
using testing::TempFolder;
using Answer = Prompter::Answer;

constexpr const char* kBook = "lib/生词本.ini";
constexpr const char* kAdded = "该单词已经被添加到了生词本内。你可以在背单词时选择或者重新选择使用生词本";
constexpr const char* kOverwrite = "该单词已经存在生词本内。是否覆盖？";

class NewWordBookTest : public ::testing::Test {
 protected:
  NewWordOutcome Add(std::string_view utf8Word, std::optional<std::string> typed) {
    prompter.lines = {std::move(typed)};
    return AddToNewWordBook(programFolder, prompter, libraries, Utf8ToGbk(utf8Word));
  }
  LineList BookLines() {
    LineList lines;
    for (const auto& line : SplitLines(folder.Read(kBook))) lines.push_back(GbkToUtf8(line));
    return lines;
  }
  void WriteBook(const LineList& utf8Lines) {
    LineList lines;
    for (const auto& line : utf8Lines) lines.push_back(Utf8ToGbk(line));
    folder.Write(kBook, JoinLinesCrLf(lines));
  }

  TempFolder folder;
  ProgramFolder programFolder{folder.path()};
  FakePrompter prompter;
  LibraryList libraries;
};

TEST_F(NewWordBookTest, TheFirstWordCreatesTheBookAndMakesItSelectableAtOnce) {
  testing::FakeClock clock;
  testing::ScriptedRandom random;
  testing::FakeOpener opener;
  FakePrompter statePrompter;
  WordLibraryState state(programFolder, statePrompter, clock, random, opener);
  state.FillLibraryList();
  prompter.lines = {"apple=n. 苹果"};
  EXPECT_EQ(AddToNewWordBook(programFolder, prompter, state.List(), Utf8ToGbk("apple")), NewWordOutcome::Added);

  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0], "请输入单词的解释  |在等于号后面输入单词解释           |apple=");
  EXPECT_EQ(folder.Read(kBook), "[word]\r\napple=n. " + Utf8ToGbk("苹果") + "\r\n");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, kAdded);
  EXPECT_EQ(prompter.shown[0].caption, "生词本");

  ASSERT_EQ(state.List().Count(), 3);
  EXPECT_EQ(state.List().At(1).text, LibraryList::NewWordBookEntryText());
  EXPECT_EQ(state.List().At(2).kind, LibraryList::EntryKind::Action);
  EXPECT_EQ(state.SelectLibrary(1), SelectOutcome::Loaded);
  EXPECT_EQ(state.ScheduleName(), Utf8ToGbk("生词本.ini.abhs"));
  EXPECT_EQ(state.Library().Line(1), Utf8ToGbk("apple=n. 苹果"));
}

TEST_F(NewWordBookTest, LaterWordsAreAppendedAndTheEntryIsNotAddedTwice) {
  EXPECT_EQ(Add("apple", "apple=苹果"), NewWordOutcome::Added);
  EXPECT_EQ(Add("pear", "pear=梨"), NewWordOutcome::Added);
  EXPECT_EQ(BookLines(), (LineList{"[word]", "apple=苹果", "pear=梨"}));
  EXPECT_EQ(libraries.Count(), 3);
}

TEST_F(NewWordBookTest, AnExplainedWordIsOverwrittenOnlyOnYes) {
  WriteBook({"[word]", "Apple=苹果", "pear=梨"});
  const std::string before = folder.Read(kBook);

  prompter.answers = {Answer::No};
  EXPECT_EQ(Add("apple", "apple=n. 苹果"), NewWordOutcome::KeptExisting);
  EXPECT_EQ(prompter.shown.at(0).text, kOverwrite);
  EXPECT_EQ(prompter.shown.at(0).caption, "提示");
  EXPECT_EQ(prompter.shown.at(0).buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(folder.Read(kBook), before);

  prompter.shown.clear();
  prompter.answers = {Answer::Yes};
  EXPECT_EQ(Add("apple", "apple=n. 苹果"), NewWordOutcome::Replaced);
  EXPECT_EQ(BookLines(), (LineList{"[word]", "apple=n. 苹果", "pear=梨"}));
  EXPECT_EQ(prompter.shown.back().text, kAdded);
  EXPECT_EQ(libraries.Count(), 2);  // not a new book
}

TEST_F(NewWordBookTest, TheLookUpUsesTheViewsWordAndTheTypedTextIsStored) {
  WriteBook({"[word]", "run=跑", "walk="});
  prompter.answers = {Answer::Yes};
  EXPECT_EQ(Add("run", "running=跑步"), NewWordOutcome::Replaced);
  // An entry without explanation is replaced without a question.
  EXPECT_EQ(Add("walk", "walk=走"), NewWordOutcome::Replaced);
  EXPECT_EQ(prompter.shown.size(), 3u);  // one question, two confirmations
  EXPECT_EQ(BookLines(), (LineList{"[word]", "running=跑步", "walk=走"}));
  // A typed line without "=" is stored as typed.
  EXPECT_EQ(Add("jump", "jump 跳"), NewWordOutcome::Added);
  EXPECT_EQ(BookLines().back(), "jump 跳");
}

TEST_F(NewWordBookTest, NothingToAddShowsNothingAndWritesNothing) {
  struct Case {
    const char* word;
    std::optional<std::string> typed;
  };
  const Case cases[] = {{"", "x=y"}, {"apple", std::nullopt}, {"apple", ""}, {"apple", "apple="}, {"apple", "apple=x="}};
  for (const auto& c : cases) {
    EXPECT_EQ(Add(c.word, c.typed), NewWordOutcome::NothingToAdd) << c.word << "|" << c.typed.value_or("(cancel)");
  }
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_FALSE(fs::exists(folder.path() / "lib"));
  EXPECT_EQ(libraries.Count(), 2);
}

TEST_F(NewWordBookTest, AnExistingLibFolderIsUsedWhateverItsLetterCase) {
  fs::create_directories(folder.path() / "Lib");
  EXPECT_EQ(Add("apple", "apple=苹果"), NewWordOutcome::Added);
  EXPECT_TRUE(fs::exists(folder.path() / "Lib" / "生词本.ini"));
  EXPECT_FALSE(fs::exists(folder.path() / "lib"));
}

}  // namespace
}  // namespace duvelin
