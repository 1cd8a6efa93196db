// Errors that a window's handler does not handle itself go to the application's error trap:
// the message is thrown from a task posted to the event loop, where the trap catches what
// escapes any handler. The handler returns normally, so no exception crosses Qt's own code.
#pragma once

#include <stdexcept>
#include <string>

#include "common/scheduler.h"

namespace duvelin {

inline void ReportToErrorTrap(Scheduler& scheduler, std::string utf8Message) {
  scheduler.Post([message = std::move(utf8Message)] { throw std::runtime_error(message); });
}

}  // namespace duvelin
