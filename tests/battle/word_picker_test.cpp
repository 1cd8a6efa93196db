// The packed clock, the stage thresholds, the repeat queue and the picker's order of sources.
#include <gtest/gtest.h>

#include <set>

#include "battle/abhs_table.h"
#include "battle/repeat_queue.h"
#include "battle/word_picker.h"
#include "support/fake_clock.h"
#include "support/scripted_random.h"

namespace duvelin {
namespace {

using testing::FakeClock;
using testing::ScriptedRandom;

LocalDateTime At(int day, int hour, int minute, int second) { return {2024, 3, day, hour, minute, second, 0}; }

TEST(PackedDateTime, PacksFieldsIntoTheirBits) {
  EXPECT_EQ(PackFatDateTime({1980, 1, 1, 0, 0, 0, 0}), (1 << 21) | (1 << 16));
  EXPECT_EQ(PackFatDateTime({2024, 3, 15, 10, 9, 25, 0}),
            static_cast<int32_t>((44u << 25) | (3u << 21) | (15u << 16) | (10u << 11) | (9u << 5) | 12u));
  // Within one day an hour is 2048 units, a minute 32; the next day adds 65536.
  EXPECT_EQ(PackFatDateTime(At(2, 0, 0, 0)) - PackFatDateTime(At(1, 0, 0, 0)), 65536);
  EXPECT_EQ(PackFatDateTime(At(1, 1, 1, 0)) - PackFatDateTime(At(1, 0, 0, 0)), 2048 + 32);
}

TEST(AbhsTable, StagesBecomeDueByPackedDifference) {
  struct Case {
    int stage;
    LocalDateTime putIn, checked;
    bool due;
  };
  const Case cases[] = {
      {1, At(1, 10, 0, 0), At(1, 10, 9, 24), false},  // difference exactly 300
      {1, At(1, 10, 0, 0), At(1, 10, 9, 26), true},   // 301
      {4, At(1, 1, 0, 0), At(2, 4, 10, 0), false},    // 65536 + 8512 - 2048 = 72000
      {4, At(1, 1, 0, 0), At(2, 4, 10, 2), true},     // 72001
      {4, At(1, 23, 0, 0), At(2, 0, 0, 0), false},
      {4, At(1, 23, 0, 0), At(2, 12, 0, 0), false},
      {4, At(1, 23, 0, 0), At(2, 23, 59, 59), false},  // at most 67453 on the next day
      {4, At(1, 23, 0, 0), At(3, 0, 0, 0), true},
      {8, At(1, 0, 0, 0), At(11, 0, 0, 0), false},  // 655360 < 691200
      {8, At(1, 0, 0, 0), At(12, 0, 0, 0), true},
  };
  for (const auto& c : cases) {
    AbhsTable table;
    table.Append(c.stage, PackFatDateTime(c.putIn), 7);
    EXPECT_EQ(table.IsDue(c.stage, PackFatDateTime(c.checked)), c.due)
        << "stage " << c.stage << " checked on day " << c.checked.day << " " << c.checked.hour << ":"
        << c.checked.minute << ":" << c.checked.second;
  }
}

TEST(AbhsTable, HeadTimesOfGarbageReadAsZeroAndNeverComeDue) {
  const int32_t later = PackFatDateTime(At(20, 0, 0, 0));
  for (const char* head : {"", "abc", "12345", ",5", "x,5", "-5,5", "0,5"}) {
    AbhsTable table;
    table.ReplaceStage(2, {head, "1,3"});
    EXPECT_FALSE(table.IsDue(2, later)) << head;
    EXPECT_FALSE(table.ServeFirstDue(later).has_value()) << head;
    EXPECT_EQ(table.StageEntries(2).size(), 2u);
  }
}

TEST(AbhsTable, ServingMovesTheFirstEntryOneStageOnWithTheTimeOfServing) {
  AbhsTable table;
  const int32_t start = PackFatDateTime(At(1, 10, 0, 0));
  table.Append(1, start, 5);
  table.Append(1, start, 6);
  table.AppendEntry(3, "1,abc");
  const int32_t now = PackFatDateTime(At(1, 11, 0, 0));

  auto served = table.ServeFirstDue(now);
  ASSERT_TRUE(served);
  EXPECT_EQ(served->stage, 1);
  EXPECT_EQ(served->lineIndex, 5);
  EXPECT_EQ(table.StageEntries(1).front(), std::to_string(start) + ",6");
  EXPECT_EQ(table.StageEntries(2).back(), std::to_string(now) + ",5");

  // Stage 1 is still due and comes first; stage 3 only after it is served.
  EXPECT_EQ(table.ServeFirstDue(now)->lineIndex, 6);
  EXPECT_EQ(table.HeadTime(1), 0);
  served = table.ServeFirstDue(now);
  ASSERT_TRUE(served);
  EXPECT_EQ(served->stage, 3);
  EXPECT_EQ(served->lineIndex, 0);  // not a number
  EXPECT_EQ(table.StageEntries(4).back(), std::to_string(now) + ",abc");
}

TEST(AbhsTable, TheEighthServingRemovesTheEntryAndLongIndicesSurvive) {
  AbhsTable table;
  table.Append(8, 1, 123456);
  auto served = table.ServeFirstDue(PackFatDateTime(At(1, 0, 0, 0)));
  ASSERT_TRUE(served);
  EXPECT_EQ(served->lineIndex, 123456);
  EXPECT_EQ(table.TotalEntries(), 0u);
}

TEST(RepeatQueue, FillsFromTheReadPositionWrapsAndDropsWhenFull) {
  RepeatQueue queue;
  queue.Reset(0);
  EXPECT_EQ(queue.ReadPosition(), 2u);
  EXPECT_FALSE(queue.Queue(0));  // 0 marks an empty cell
  for (size_t i = 1; i <= 62; ++i) ASSERT_TRUE(queue.Queue(i)) << i;
  EXPECT_FALSE(queue.Queue(99));
  EXPECT_EQ(queue.QueuedCount(), 62u);
  for (size_t i = 1; i <= 62; ++i) ASSERT_EQ(queue.Take(100, 0), std::optional<size_t>(i));
  EXPECT_EQ(queue.Take(100, 0), std::nullopt);
  EXPECT_EQ(queue.ReadPosition(), 2u);  // 64 goes back to 2
}

TEST(RepeatQueue, IndicesBeyondTheLibraryAreDroppedWhenTheirTurnComes) {
  RepeatQueue queue;
  queue.Reset(0);
  queue.Queue(70000);  // kept whole, not cut to 16 bits
  queue.Queue(4);
  EXPECT_EQ(queue.Take(10, 0), std::nullopt);
  EXPECT_EQ(queue.Take(10, 0), std::optional<size_t>(4));
  queue.Queue(70000);
  EXPECT_EQ(queue.Take(100000, 0), std::optional<size_t>(70000));
}

class WordPickerTest : public ::testing::Test {
 protected:
  WordPickerTest() { clock.now = At(1, 10, 0, 0); }

  void SetModes(bool schedule, bool sequential, int repeatSetting) {
    picker.SetModes({schedule, sequential, repeatSetting});
    picker.ResetRepeatQueue();
  }

  // Asks `count` questions in a library of `size`; each index in `wrong` is answered wrong
  // once (queued as the quiz does when the gap is 0 or more), every other answer is right.
  std::vector<size_t> Ask(size_t size, int count, std::set<size_t> wrong = {}) {
    std::vector<size_t> picks;
    for (int i = 0; i < count; ++i) {
      size_t pick = picker.PickNextWord(size);
      picks.push_back(pick);
      if (wrong.erase(pick)) {
        if (picker.Modes().RepeatGap() >= 0) picker.QueueForRepeat(pick);
      } else {
        picker.NoteCorrectAnswer(pick);
      }
      clock.AdvanceSeconds(10);
    }
    return picks;
  }

  FakeClock clock;
  ScriptedRandom random;
  WordPicker picker{clock, random};
};

TEST_F(WordPickerTest, WrongWordsComeBackAfterTheRepeatGap) {
  struct Case {
    int repeatSetting;
    std::vector<size_t> picks;
  };
  const Case cases[] = {
      {0, {0, 1, 2, 3, 4, 5}},  // no repeat
      {1, {0, 1, 1, 2, 3, 4}},  // at once
      {2, {0, 1, 2, 1, 3, 4}},
      {3, {0, 1, 2, 3, 1, 4}},  // two other words first
  };
  for (const auto& c : cases) {
    SetModes(false, true, c.repeatSetting);
    picker.SetSequentialPosition(0);
    EXPECT_EQ(Ask(10, 6, {1}), c.picks) << "game_rep " << c.repeatSetting;
  }
}

TEST_F(WordPickerTest, AWordQueuedTwiceIsAskedTwice) {
  SetModes(false, true, 1);
  picker.QueueForRepeat(5);
  picker.QueueForRepeat(5);
  EXPECT_EQ(Ask(10, 4), (std::vector<size_t>{5, 5, 0, 1}));
}

TEST_F(WordPickerTest, SequentialOrderWrapsAndRestartsBeyondTheLibrary) {
  SetModes(false, true, 0);
  EXPECT_EQ(Ask(3, 5), (std::vector<size_t>{0, 1, 2, 0, 1}));
  picker.SetSequentialPosition(40);  // saved while a larger library was selected
  EXPECT_EQ(Ask(3, 2), (std::vector<size_t>{0, 1}));
}

TEST_F(WordPickerTest, RandomOrderDrawsBelowTheLibrarySize) {
  SetModes(false, false, 0);
  random.values = {7, 12, 3};
  EXPECT_EQ(Ask(10, 3), (std::vector<size_t>{7, 2, 3}));
}

TEST_F(WordPickerTest, ScheduleModeEntersCorrectWordsAndServesThemWhenDue) {
  SetModes(true, false, 0);
  random.values = {4};
  EXPECT_EQ(picker.PickNextWord(10), 4u);
  EXPECT_FALSE(picker.ScheduledMark());
  picker.NoteCorrectAnswer(4);
  ASSERT_EQ(picker.Table().StageEntries(1).size(), 1u);
  EXPECT_EQ(picker.Table().StageEntries(1).front(), std::to_string(PackFatDateTime(clock.now)) + ",4");

  clock.AdvanceSeconds(9 * 60 + 26);
  random.values = {8};
  EXPECT_EQ(picker.PickNextWord(10), 4u);
  EXPECT_TRUE(picker.ScheduledMark());
  picker.NoteCorrectAnswer(4);  // a served word is not entered again
  EXPECT_TRUE(picker.Table().StageEntries(1).empty());
  EXPECT_EQ(picker.Table().StageEntries(2).size(), 1u);
  EXPECT_FALSE(picker.ScheduledMark());
}

TEST_F(WordPickerTest, AScheduleEntryBeyondTheLibraryAsksARandomLineAndStillMovesOn) {
  SetModes(true, false, 0);
  picker.Table().Append(1, 1, 50);
  random.values = {6};
  EXPECT_EQ(picker.PickNextWord(10), 6u);
  EXPECT_FALSE(picker.ScheduledMark());
  EXPECT_EQ(picker.Table().StageEntries(2).size(), 1u);
}

TEST_F(WordPickerTest, TheSchedulePickerNeverGivesTheSameWordThreeTimesInARow) {
  SetModes(true, false, 0);
  random.values = {4, 4, 4, 7, 7, 7, 7, 2};
  EXPECT_EQ(Ask(10, 4), (std::vector<size_t>{4, 4, 7, 7}));
  EXPECT_EQ(picker.PickNextWord(10), 2u);
}

TEST_F(WordPickerTest, TheSchedulePickerEndsEvenWhenChanceKeepsRepeating) {
  SetModes(true, false, 0);
  // The scripted random answers 0 for ever once its values run out.
  std::vector<size_t> picks = Ask(3, 6);
  for (size_t i = 2; i < picks.size(); ++i)
    EXPECT_FALSE(picks[i] == picks[i - 1] && picks[i] == picks[i - 2]) << i;
  EXPECT_EQ(Ask(1, 3), (std::vector<size_t>{0, 0, 0}));  // a one-line library has no other choice
}

TEST_F(WordPickerTest, TheRepeatQueueComesBeforeTheSchedule) {
  SetModes(true, false, 1);
  picker.Table().Append(1, 1, 3);
  picker.QueueForRepeat(8);
  EXPECT_EQ(picker.PickNextWord(10), 8u);
  EXPECT_EQ(picker.PickNextWord(10), 3u);
  EXPECT_TRUE(picker.ScheduledMark());
}

}  // namespace
}  // namespace duvelin
