// Deferred work on the main thread: post a task, run one after N milliseconds, or repeat every
// N milliseconds. The program runs it on Qt's event loop; tests use a manual scheduler that
// advances virtual time.
#pragma once

#include <cstdint>
#include <functional>

namespace duvelin {

class Scheduler {
 public:
  using TimerId = uint64_t;
  using Task = std::function<void()>;

  virtual ~Scheduler() = default;
  virtual void Post(Task task) = 0;
  virtual TimerId RunAfter(uint32_t milliseconds, Task task) = 0;
  virtual TimerId RunEvery(uint32_t milliseconds, Task task) = 0;
  virtual void Cancel(TimerId id) = 0;
};

}  // namespace duvelin
