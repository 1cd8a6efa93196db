// The game state the commands read and change: scene numbers, switches, the event store, the
// temps, the goods counts, the party table and the actions kept between scenes, with their
// starting values and the rules of a new game and of entering a scene. Everything belongs to
// the main thread. Saving, the goods catalogue and the scene files are other modules' work.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "script/event_store.h"
#include "script/temp_list.h"

namespace duvelin {

// Scene attribute bits ("属性" of a scene file).
enum SceneAttribute : int32_t {
  SCENE_DEFAULT = 1,
  SCENE_MAZE = 2,              // inline battles, no saving, advertisement row
  SCENE_KEEPS_TEMPS = 4,       // temps and Factor stay when the scene is entered
  SCENE_DIALOGUE_LOCKED = 8,   // no going home, the chat layer cannot be closed
  SCENE_RUN_BEFORE_LOAD = 16,  // "载入前"
  SCENE_RUN_AFTER_LOAD = 32,   // "载入后"
  SCENE_IS_HOME = 64,          // becomes HomeScene
  SCENE_KEEP_AFTER_EXIT = 128, // "退出后" stored for the next load
  SCENE_NO_PICTURE = 256,      // no picture line
};

inline constexpr int32_t kFirstScene = 10001;
inline constexpr int32_t kGameOverScene = 14444;
inline constexpr int32_t kSpecialScene = 10000;

// Counts of the goods the player carries: bytes 1 to 1023 for the goods of those numbers,
// byte 0 the check digit of a save.
class GoodsCounts {
 public:
  static constexpr int32_t kSize = 1024;

  uint8_t Count(int32_t number) const { return number >= 0 && number < kSize ? m_counts[static_cast<size_t>(number)] : 0; }
  // a = 0 sets the count to 0, otherwise it changes by a, held between 0 and 255; numbers
  // outside 1 to 1023 are ignored.
  void Change(int32_t number, int32_t change);
  void Clear() { m_counts.fill(0); }
  const std::array<uint8_t, kSize>& Bytes() const { return m_counts; }
  std::array<uint8_t, kSize>& Bytes() { return m_counts; }

 private:
  std::array<uint8_t, kSize> m_counts{};
};

// The party: the player and four companions, each a 16-bit role number (0xFFFF a free slot)
// with a row of attributes. Nothing fills it: all slots hold 0, so the companion slots count as
// taken, there are no members, every attribute reads 0 and every write is ignored.
class PartyTable {
 public:
  static constexpr int32_t kSlots = 5;
  static constexpr uint16_t kFreeSlot = 0xFFFF;
  // Attribute numbers the commands use.
  static constexpr int32_t kMoney = 0, kSpirit = 6, kHalved = 8, kCompletedTasks = 9, kExperience = 19,
                           kSpiritMaximum = 26;

  int32_t MemberCount() const { return 0; }
  int32_t Attribute(int32_t /*member*/, int32_t /*attribute*/) const { return 0; }
  void SetAttribute(int32_t /*member*/, int32_t /*attribute*/, int32_t /*value*/) {}
  int32_t Money() const { return Attribute(0, kMoney); }
  bool CompanionSlotsFull() const;
  const std::array<uint16_t, kSlots>& Roles() const { return m_roles; }

 private:
  std::array<uint16_t, kSlots> m_roles{};
};

struct GameState {
  // Scene numbers.
  int32_t CurrentScene = 0;
  int32_t PreviousScene = 0;
  int32_t HomeScene = 0;
  int32_t SceneAttributes = 0;

  // Switches.
  bool UnsavedGame = false;
  int32_t TempsMark = 0;  // 0, 1 after a temp write, 2 after a reload that keeps the temps
  bool DirectReload = false;
  bool ListReload = false;
  bool HomeForbidden = false;
  bool NoEscape = false;
  int32_t Weather = 0;
  int32_t Factor = 0;

  // Nothing before the first new game.
  std::optional<EventStore> events;
  TempList temps;
  GoodsCounts goods;
  PartyTable party;

  // The after-exit action of the last scene that gave one (an empty one counts), and the
  // after-load action of the current scene.
  std::optional<std::string> afterExitAction;
  std::string afterLoadAction;

  // A new game: the empty event store with its two sections, and the game counts as unsaved.
  // (Loading the goods catalogue and showing the first scene are the commands' work.)
  void StartNewGame();

  // The rules of entering a scene with the given attribute bits: NoEscape cleared,
  // SceneAttributes set; unless the scene keeps the temps or TempsMark is 2, Factor becomes 0
  // and the temps are removed; TempsMark becomes 0.
  void EnterScene(int32_t attributes);

  // The temps removed and Factor 0 (game_clear_temp).
  void ClearTemps();
};

}  // namespace duvelin
