// A Scheduler on virtual time: nothing runs until the test calls RunPosted or Advance.
#pragma once

#include <map>
#include <vector>

#include "common/scheduler.h"

namespace duvelin::testing {

class ManualScheduler : public Scheduler {
 public:
  void Post(Task task) override { m_posted.push_back(std::move(task)); }
  TimerId RunAfter(uint32_t ms, Task task) override { return Add(ms, std::move(task), false); }
  TimerId RunEvery(uint32_t ms, Task task) override { return Add(ms, std::move(task), true); }
  void Cancel(TimerId id) override { m_timers.erase(id); }

  // Runs posted tasks, including those they post, until none is left.
  void RunPosted() {
    while (!m_posted.empty()) {
      auto batch = std::move(m_posted);
      m_posted.clear();
      for (auto& task : batch) task();
    }
  }

  // Moves virtual time on, firing due timers in time order.
  void Advance(uint64_t ms) {
    const uint64_t end = m_now + ms;
    for (;;) {
      RunPosted();
      auto next = m_timers.end();
      for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
        if (it->second.due <= end && (next == m_timers.end() || it->second.due < next->second.due)) next = it;
      if (next == m_timers.end()) break;
      m_now = next->second.due;
      Task task = next->second.task;
      if (next->second.repeating)
        next->second.due += next->second.interval;
      else
        m_timers.erase(next);
      task();
    }
    m_now = end;
    RunPosted();
  }

  uint64_t Now() const { return m_now; }
  size_t ActiveTimers() const { return m_timers.size(); }

 private:
  struct Timer {
    uint64_t due, interval;
    bool repeating;
    Task task;
  };
  TimerId Add(uint32_t ms, Task task, bool repeating) {
    TimerId id = ++m_nextId;
    m_timers[id] = Timer{m_now + (ms ? ms : 1), ms ? ms : 1, repeating, std::move(task)};
    return id;
  }

  uint64_t m_now = 0;
  TimerId m_nextId = 0;
  std::map<TimerId, Timer> m_timers;
  std::vector<Task> m_posted;
};

}  // namespace duvelin::testing
