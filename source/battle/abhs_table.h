// The eight-stage review schedule. Each stage is an ordered list of entries "t,i" (t a packed
// FAT date-time, i a line index), kept as the text lines they are stored as. A stage is due
// when its first entry is older than the stage's threshold; serving it moves that entry one
// stage on. Which line to ask, and when to serve, is the picker's business.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/result.h"
#include "battle/schedule_location.h"

namespace duvelin {

// The 32-bit packed FAT date-time (seconds / 2 in bits 0-4, minutes 5-10, hours 11-15, day
// 16-20, month 21-24, year - 1980 from bit 25), taken as a signed integer.
int32_t PackFatDateTime(const LocalDateTime& moment);

class AbhsTable {
 public:
  static constexpr int kStageCount = 8;
  // The first stage that is written to and read from files; stages below it live only while
  // the program runs.
  static constexpr int kFirstStoredStage = 4;

  using Stage = std::deque<std::string>;

  struct ServedEntry {
    int stage;          // 1..8
    int64_t lineIndex;  // the entry's index; 0 when it is not a number
  };

  // Threshold of stage k (1..8) in packed units.
  static int32_t Threshold(int stage);

  const Stage& StageEntries(int stage) const { return m_stages[Slot(stage)]; }
  size_t TotalEntries() const;

  // The t of the stage's first entry (the text before the first comma); 0 when the stage is
  // empty or that text is not an integer.
  int32_t HeadTime(int stage) const { return m_headTimes[Slot(stage)]; }
  bool IsDue(int stage, int32_t now) const;

  // Serves the first due stage in the order 1..8: its first entry is removed and, below stage
  // 8, appended to the next stage with the time `now`. Only one stage is served per call.
  std::optional<ServedEntry> ServeFirstDue(int32_t now);

  // Appends the entry now "," index to stage k.
  void Append(int stage, int32_t now, int64_t lineIndex);
  void AppendEntry(int stage, std::string entry);
  void ReplaceStage(int stage, Stage entries);
  void ClearStage(int stage);
  void ClearAll();

  // Empties stages 1-3; each stage 4-8 whose file exists is replaced by the file's lines, a
  // stage without a file keeps its entries. A file that cannot be read counts as missing.
  void Load(const ScheduleLocation& location);
  // Writes every stage 4-8 that holds an entry to its file (atomically), creating the folder;
  // an empty stage writes nothing, so an earlier file stays.
  Status Save(const ScheduleLocation& location) const;
  // Empties all stages and deletes stage files 1-8 under the location's name and under
  // "words.ini.abhs".
  Status Clear(const ScheduleLocation& location);

 private:
  static size_t Slot(int stage) { return static_cast<size_t>(stage - 1); }
  void RefreshHead(int stage);

  std::array<Stage, kStageCount> m_stages;
  std::array<int32_t, kStageCount> m_headTimes{};
};

}  // namespace duvelin
