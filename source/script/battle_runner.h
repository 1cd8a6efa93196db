// What the battle commands ask of the word-battle window: run a battle modally and report its
// outcome (1 won), and give the HTML of an inline battle for a maze page. The battle window
// implements it; without one, every battle yields 0 and inline battles show nothing.
#pragma once

#include <cstdint>
#include <string>

namespace duvelin {

enum class BattleOpening { Plain, Zoom };

struct BattleRequest {
  int32_t mode = 1;       // 1 quiz, 2 dig, 3 fight, 4 game, 5 love, 6 bubble, 7 gomoku
  int32_t parameter = 0;
  int32_t fight = 0;      // the fight number, for the modes that have one
  BattleOpening opening = BattleOpening::Plain;
  std::string partner;    // GBK; mode 5
};

class BattleRunner {
 public:
  virtual ~BattleRunner() = default;
  // The window's modal result.
  virtual int32_t RunBattle(const BattleRequest& request) = 0;
  // The inline battle's HTML (GBK) for the chat layer's cell.
  virtual std::string InlineBattleHtml(int32_t parameter) = 0;
};

}  // namespace duvelin
