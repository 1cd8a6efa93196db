// The short queue of words to ask again soon (words answered wrong, words whose hint was
// bought). 64 cells: cell 0 counts down the picks to pass before the queued word at the read
// position is asked, cell 1 is the read position (2..63), cells 2-63 hold line indices with 0
// marking an empty cell. The repeat gap itself belongs to the settings; callers pass it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace duvelin {

class RepeatQueue {
 public:
  static constexpr size_t kCellCount = 64;
  static constexpr size_t kFirstSlot = 2;

  RepeatQueue() { Reset(-1); }

  // Zero-fills the queue, sets the countdown to `repeatGap` when that is 0 or more and the
  // read position to 2.
  void Reset(int32_t repeatGap);

  // Puts the index into the first empty cell from the read position up to cell 63, else from
  // cell 2 up to the read position; a full queue drops it. Line 0 cannot be queued (0 marks an
  // empty cell). Returns whether the index was queued.
  bool Queue(size_t lineIndex);

  // The repeat step of a pick: the queued word due now, if any, that is below `librarySize`.
  std::optional<size_t> Take(size_t librarySize, int32_t repeatGap);

  uint32_t Countdown() const { return m_cells[0]; }
  size_t ReadPosition() const { return m_cells[1]; }
  uint32_t Cell(size_t cell) const { return m_cells[cell]; }
  size_t QueuedCount() const;

 private:
  // 32-bit cells, so that indices of libraries beyond 65535 lines are queued unchanged.
  std::array<uint32_t, kCellCount> m_cells{};
};

}  // namespace duvelin
