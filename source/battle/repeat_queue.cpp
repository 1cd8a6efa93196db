#include "battle/repeat_queue.h"

namespace duvelin {

void RepeatQueue::Reset(int32_t repeatGap) {
  m_cells.fill(0);
  if (repeatGap >= 0) m_cells[0] = static_cast<uint32_t>(repeatGap);
  m_cells[1] = kFirstSlot;
}

bool RepeatQueue::Queue(size_t lineIndex) {
  if (lineIndex == 0 || lineIndex > UINT32_MAX) return false;
  const size_t readPosition = m_cells[1];
  for (size_t cell = readPosition; cell < kCellCount; ++cell) {
    if (m_cells[cell] == 0) {
      m_cells[cell] = static_cast<uint32_t>(lineIndex);
      return true;
    }
  }
  for (size_t cell = kFirstSlot; cell <= readPosition && cell < kCellCount; ++cell) {
    if (m_cells[cell] == 0) {
      m_cells[cell] = static_cast<uint32_t>(lineIndex);
      return true;
    }
  }
  return false;
}

std::optional<size_t> RepeatQueue::Take(size_t librarySize, int32_t repeatGap) {
  size_t readPosition = m_cells[1];
  const uint32_t queued = m_cells[readPosition];
  if (queued == 0) return std::nullopt;
  if (m_cells[0] > 0) {
    --m_cells[0];
    return std::nullopt;
  }
  m_cells[readPosition] = 0;
  if (repeatGap >= 0) m_cells[0] = static_cast<uint32_t>(repeatGap);
  ++readPosition;
  if (readPosition == kCellCount) readPosition = kFirstSlot;
  m_cells[1] = static_cast<uint32_t>(readPosition);
  if (queued < librarySize) return queued;
  return std::nullopt;
}

size_t RepeatQueue::QueuedCount() const {
  size_t count = 0;
  for (size_t cell = kFirstSlot; cell < kCellCount; ++cell) count += m_cells[cell] != 0;
  return count;
}

}  // namespace duvelin
