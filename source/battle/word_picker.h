// Decides which library line is asked next. Four sources in a fixed order: the repeat queue,
// the review schedule (schedule mode), sequential order (sequential mode), uniform random
// choice. It knows only the library's size; the library itself, its files and the user's
// messages belong to the library state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "battle/abhs_table.h"
#include "battle/repeat_queue.h"
#include "common/clock.h"
#include "common/random.h"

namespace duvelin {

class SettingsFile;

// The picker's settings: `game_abhs`, `game_shunxu` and `game_rep`.
struct PickerModes {
  bool scheduleMode = false;
  bool sequentialMode = false;  // used only when schedule mode is off
  int32_t repeatSetting = 0;    // the repeat gap + 1

  static PickerModes FromSettings(const SettingsFile& settings);
  // A negative gap means that wrong answers are not queued.
  int32_t RepeatGap() const { return repeatSetting - 1; }
};

class WordPicker {
 public:
  WordPicker(Clock& clock, Random& random);

  // Modes are set when the window is created and again whenever the settings are saved.
  void SetModes(const PickerModes& modes) { m_modes = modes; }
  const PickerModes& Modes() const { return m_modes; }
  // Zero-fills the repeat queue with the countdown at the current repeat gap.
  void ResetRepeatQueue() { m_repeatQueue.Reset(m_modes.RepeatGap()); }

  // The next line to ask in a library of `librarySize` lines; also the current line index.
  size_t PickNextWord(size_t librarySize);
  void NoteCorrectAnswer(size_t lineIndex);
  void QueueForRepeat(size_t lineIndex) { m_repeatQueue.Queue(lineIndex); }

  size_t CurrentLineIndex() const { return m_currentLineIndex; }
  void SetCurrentLineIndex(size_t lineIndex) { m_currentLineIndex = lineIndex; }
  // Set when the last schedule pick came from a due stage.
  bool ScheduledMark() const { return m_scheduledMark; }

  // One position for all libraries, kept in the window's saved state.
  size_t SequentialPosition() const { return m_sequentialPosition; }
  void SetSequentialPosition(size_t position) { m_sequentialPosition = position; }

  AbhsTable& Table() { return m_table; }
  const AbhsTable& Table() const { return m_table; }
  RepeatQueue& Queue() { return m_repeatQueue; }
  const RepeatQueue& Queue() const { return m_repeatQueue; }

 private:
  size_t SchedulePick(size_t librarySize);
  size_t SequentialPick(size_t librarySize);
  int32_t PackedNow() { return PackFatDateTime(m_clock.Now()); }

  Clock& m_clock;
  Random& m_random;
  PickerModes m_modes;
  RepeatQueue m_repeatQueue;
  AbhsTable m_table;
  size_t m_currentLineIndex = 0;
  bool m_scheduledMark = false;
  std::optional<size_t> m_lastSchedulePick;
  int m_lastScheduleRepeats = 0;
  size_t m_sequentialPosition = 0;
};

}  // namespace duvelin
