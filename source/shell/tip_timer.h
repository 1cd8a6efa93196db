// The main window's one-second timer that now and then shows a tip page in the browser band.
// It owns the counter rules; whether the main window is active and how to navigate are asked
// of the window through the two callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/random.h"
#include "common/scheduler.h"

namespace duvelin {

class TipTimer {
 public:
  static constexpr uint32_t kIntervalMs = 1000;
  static constexpr int kTipPageCount = 20;

  using ActiveQuery = std::function<bool()>;
  using Navigator = std::function<void(const std::string& address)>;

  // `prefix` is the address that the tip number and ".htm" are appended to.
  TipTimer(Random& random, std::string prefix, ActiveQuery isMainWindowActive, Navigator navigate);
  ~TipTimer();
  TipTimer(const TipTimer&) = delete;
  TipTimer& operator=(const TipTimer&) = delete;

  // Starts the repeating timer on `scheduler` (once; a second call does nothing).
  void Start(Scheduler& scheduler);
  bool Running() const { return m_scheduler != nullptr; }

  // One tick of the timer. Returns the address navigated to, if any.
  std::optional<std::string> Tick();

  int32_t Counter() const { return m_counter; }
  void SetCounter(int32_t counter) { m_counter = counter; }

  std::string TipAddress(int number) const { return m_prefix + std::to_string(number) + ".htm"; }

 private:
  Random& m_random;
  std::string m_prefix;
  ActiveQuery m_isMainWindowActive;
  Navigator m_navigate;
  int32_t m_counter = 0;
  Scheduler* m_scheduler = nullptr;
  Scheduler::TimerId m_timer = 0;
};

}  // namespace duvelin
