#include "script/game_state.h"

#include <algorithm>

namespace duvelin {

void GoodsCounts::Change(int32_t number, int32_t change) {
  if (number < 1 || number >= kSize) return;
  uint8_t& count = m_counts[static_cast<size_t>(number)];
  if (change == 0) {
    count = 0;
    return;
  }
  const int64_t sum = int64_t{count} + change;
  count = static_cast<uint8_t>(std::clamp<int64_t>(sum, 0, 255));
}

bool PartyTable::CompanionSlotsFull() const {
  return std::all_of(m_roles.begin() + 1, m_roles.end(), [](uint16_t role) { return role != kFreeSlot; });
}

void GameState::StartNewGame() {
  events = EventStore::NewGame();
  UnsavedGame = true;
}

void GameState::EnterScene(int32_t attributes) {
  NoEscape = false;
  SceneAttributes = attributes;
  if (!(attributes & SCENE_KEEPS_TEMPS) && TempsMark != 2) ClearTemps();
  TempsMark = 0;
}

void GameState::ClearTemps() {
  Factor = 0;
  temps.Clear();
}

}  // namespace duvelin
