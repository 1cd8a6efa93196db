#include "battle/word_picker.h"

#include "common/settings_file.h"

namespace duvelin {
namespace {

// The schedule picker reruns while it keeps returning the word it returned twice in a row.
// With three or more lines a fresh random line ends that quickly; the bound only guards
// against a random source that keeps answering the same value.
constexpr int kMaxScheduleReruns = 64;

}  // namespace

PickerModes PickerModes::FromSettings(const SettingsFile& settings) {
  PickerModes modes;
  modes.scheduleMode = settings.Flag("game_abhs");
  modes.sequentialMode = settings.Flag("game_shunxu");
  modes.repeatSetting = settings.Integer("game_rep");
  return modes;
}

WordPicker::WordPicker(Clock& clock, Random& random) : m_clock(clock), m_random(random) {
  ResetRepeatQueue();
}

size_t WordPicker::PickNextWord(size_t librarySize) {
  size_t pick;
  if (auto repeated = m_repeatQueue.Take(librarySize, m_modes.RepeatGap()))
    pick = *repeated;
  else if (m_modes.scheduleMode)
    pick = SchedulePick(librarySize);
  else if (m_modes.sequentialMode)
    pick = SequentialPick(librarySize);
  else
    pick = m_random.Below(static_cast<uint32_t>(librarySize));
  m_currentLineIndex = pick;
  return pick;
}

size_t WordPicker::SchedulePick(size_t librarySize) {
  for (int run = 0;; ++run) {
    m_scheduledMark = false;
    size_t pick = m_random.Below(static_cast<uint32_t>(librarySize));
    const auto served = m_table.ServeFirstDue(PackedNow());
    if (served && served->lineIndex >= 0 && static_cast<uint64_t>(served->lineIndex) < librarySize) {
      pick = static_cast<size_t>(served->lineIndex);
      m_scheduledMark = true;
    }
    if (m_lastSchedulePick != pick) {
      m_lastSchedulePick = pick;
      m_lastScheduleRepeats = 0;
      return pick;
    }
    // The same word again: twice in a row is allowed, a third time runs the picker again.
    if (++m_lastScheduleRepeats < 2 || librarySize <= 1) return pick;
    if (run == kMaxScheduleReruns) {
      // Give up on chance: the next line over is certainly a different word.
      m_scheduledMark = false;
      pick = (pick + 1) % librarySize;
      m_lastSchedulePick = pick;
      m_lastScheduleRepeats = 0;
      return pick;
    }
  }
}

size_t WordPicker::SequentialPick(size_t librarySize) {
  // A stored position beyond this library (saved while another library was selected) starts
  // the library from its first line.
  if (m_sequentialPosition >= librarySize) m_sequentialPosition = 0;
  const size_t pick = m_sequentialPosition;
  ++m_sequentialPosition;
  if (m_sequentialPosition >= librarySize) m_sequentialPosition = 0;
  return pick;
}

void WordPicker::NoteCorrectAnswer(size_t lineIndex) {
  if (m_modes.scheduleMode && !m_scheduledMark) m_table.Append(1, PackedNow(), static_cast<int64_t>(lineIndex));
  m_scheduledMark = false;
}

}  // namespace duvelin
