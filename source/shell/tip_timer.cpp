#include "shell/tip_timer.h"

namespace duvelin {

TipTimer::TipTimer(Random& random, std::string prefix, ActiveQuery isMainWindowActive, Navigator navigate)
    : m_random(random),
      m_prefix(std::move(prefix)),
      m_isMainWindowActive(std::move(isMainWindowActive)),
      m_navigate(std::move(navigate)) {}

TipTimer::~TipTimer() {
  if (m_scheduler) m_scheduler->Cancel(m_timer);
}

void TipTimer::Start(Scheduler& scheduler) {
  if (m_scheduler) return;
  m_scheduler = &scheduler;
  m_timer = scheduler.RunEvery(kIntervalMs, [this] { Tick(); });
}

std::optional<std::string> TipTimer::Tick() {
  ++m_counter;
  const int r = m_random.Between(0, 99);
  if (m_counter < r + 300) return std::nullopt;
  if (m_random.Between(0, 1) == 1) {
    m_counter -= m_random.Between(0, 499);
    return std::nullopt;
  }
  m_counter = 0;
  if (!m_isMainWindowActive || !m_isMainWindowActive()) return std::nullopt;
  std::string address = TipAddress(m_random.Between(1, kTipPageCount));
  if (m_navigate) m_navigate(address);
  return address;
}

}  // namespace duvelin
