// The test's stand-in for the main thread's event loop: worker threads post tasks here, and the
// test thread runs them until a condition holds (or a generous deadline passes, so a broken
// engine fails the test instead of hanging it).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "common/main_thread_post.h"

namespace duvelin::testing {

class MainThreadQueue {
 public:
  MainThreadPost Poster() {
    return [this](MainThreadTask task) {
      {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
      }
      m_wake.notify_one();
    };
  }

  // Runs posted tasks until `done` holds; false when the deadline passed first.
  bool RunUntil(const std::function<bool()>& done, std::chrono::seconds deadline = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
      MainThreadTask task;
      {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_until(lock, end, [this] { return !m_tasks.empty(); })) return done();
        task = std::move(m_tasks.front());
        m_tasks.pop_front();
      }
      task();
    }
    return true;
  }

  // Runs what is queued now (and what that queues), without waiting.
  void RunPending() {
    for (;;) {
      MainThreadTask task;
      {
        std::lock_guard lock(m_mutex);
        if (m_tasks.empty()) return;
        task = std::move(m_tasks.front());
        m_tasks.pop_front();
      }
      task();
    }
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<MainThreadTask> m_tasks;  // guarded by m_mutex
};

}  // namespace duvelin::testing
