// The Scheduler of the program: posted tasks and timers on Qt's event loop of the main thread.
// Tasks run only from the event loop, never inside the call that posts them.
#pragma once

#include <QObject>

#include <map>
#include <memory>

#include "common/scheduler.h"

class QTimer;

namespace duvelin {

class QtScheduler final : public Scheduler {
 public:
  QtScheduler();
  ~QtScheduler() override;

  void Post(Task task) override;
  TimerId RunAfter(uint32_t milliseconds, Task task) override;
  TimerId RunEvery(uint32_t milliseconds, Task task) override;
  void Cancel(TimerId id) override;

 private:
  TimerId Start(uint32_t milliseconds, Task task, bool repeating);
  void Fire(TimerId id);

  // Posted tasks die with the scheduler: they are queued on this object.
  std::unique_ptr<QObject> m_context;
  std::map<TimerId, QTimer*> m_timers;
  std::map<TimerId, Task> m_tasks;
  TimerId m_nextId = 0;
};

}  // namespace duvelin
