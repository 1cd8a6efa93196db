#include "common/qt/qt_scheduler.h"

#include <QMetaObject>
#include <QTimer>

namespace duvelin {

QtScheduler::QtScheduler() : m_context(std::make_unique<QObject>()) {}

QtScheduler::~QtScheduler() {
  for (auto& [id, timer] : m_timers) delete timer;
}

void QtScheduler::Post(Task task) {
  QMetaObject::invokeMethod(m_context.get(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

Scheduler::TimerId QtScheduler::RunAfter(uint32_t milliseconds, Task task) {
  return Start(milliseconds, std::move(task), false);
}

Scheduler::TimerId QtScheduler::RunEvery(uint32_t milliseconds, Task task) {
  return Start(milliseconds, std::move(task), true);
}

void QtScheduler::Cancel(TimerId id) {
  auto timer = m_timers.find(id);
  if (timer == m_timers.end()) return;
  timer->second->stop();
  // The timer may be the one whose task is running right now: delete it from the loop.
  timer->second->deleteLater();
  m_timers.erase(timer);
  m_tasks.erase(id);
}

Scheduler::TimerId QtScheduler::Start(uint32_t milliseconds, Task task, bool repeating) {
  const TimerId id = ++m_nextId;
  auto* timer = new QTimer(m_context.get());
  timer->setSingleShot(!repeating);
  timer->setInterval(static_cast<int>(milliseconds));
  QObject::connect(timer, &QTimer::timeout, m_context.get(), [this, id] { Fire(id); });
  m_timers[id] = timer;
  m_tasks[id] = std::move(task);
  timer->start();
  return id;
}

void QtScheduler::Fire(TimerId id) {
  auto found = m_tasks.find(id);
  if (found == m_tasks.end()) return;
  const bool repeating = !m_timers.at(id)->isSingleShot();
  // A copy: the task may cancel its own timer while it runs.
  Task task = found->second;
  if (!repeating) Cancel(id);
  task();
}

}  // namespace duvelin
