// The work behind the notice codes of MSG_GAME_COMMAND: running a link's command text, a
// scene's after-load action or the rest of a list deferred by an inline battle, showing a scene
// by its number, hiding the advertisement row, and the two reload codes another program may
// post. The main window calls Handle when the message arrives; the text of the last
// intercepted link comes from its LinkInterceptor, which takes links of our own pages only.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "common/private_messages.h"
#include "common/result.h"
#include "common/scheduler.h"
#include "script/browser/browser.h"

namespace duvelin {

struct GameState;
class Interpreter;

// The advertisement row of the game pages: 0 at start, 1 closed, 2 an advertisement was opened;
// and how often the row was added.
struct AdvertisementState {
  int32_t state = 0;
  int32_t count = 0;
};

inline constexpr char kAdvertisementFrameId[] = "ad_layer1";
inline constexpr uint32_t kAdvertisementRetryMs = 200;

class GameCommandHandler {
 public:
  // `scheduler` may be null: the advertisement row is then looked up only once.
  GameCommandHandler(Interpreter& interpreter, GameState& state, Browser& browser, Scheduler* scheduler);
  GameCommandHandler(const GameCommandHandler&) = delete;
  GameCommandHandler& operator=(const GameCommandHandler&) = delete;
  // Second looks at the advertisement row still to come are cancelled: they would reach a dead
  // handler. The scheduler must outlive the handler.
  ~GameCommandHandler();

  // The reading-material tree's notice (38) opens the authoring window through this.
  void SetAddReadingMaterial(std::function<void()> open) { m_addReadingMaterial = std::move(open); }

  // Does the work of notice `code`. `pendingLink` is the text of the last intercepted link
  // (GBK), read by codes 30, 32, 33 and 34. An error of the command language, or any other
  // failure of the work, is returned for the error trap; the rest of that work is abandoned.
  Status Handle(intptr_t code, intptr_t lParam, std::string_view pendingLink);

  AdvertisementState& Advertisement() { return m_advertisement; }

 private:
  void Dispatch(intptr_t code, intptr_t lParam, std::string_view pendingLink);
  void HideAdvertisementRow();

  Interpreter& m_interpreter;
  GameState& m_state;
  Browser& m_browser;
  Scheduler* m_scheduler;
  std::function<void()> m_addReadingMaterial;
  AdvertisementState m_advertisement;
  std::vector<Scheduler::TimerId> m_pendingLooks;  // second looks at the row not yet run
};

}  // namespace duvelin
