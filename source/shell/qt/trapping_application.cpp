#include "shell/qt/trapping_application.h"

#include <cstdio>
#include <exception>

namespace duvelin {

void TrappingApplication::Report(std::string_view message) {
  // An error raised while its message box is up is reported on the terminal only, so that one
  // failing handler cannot stack boxes without end.
  if (!m_trap || m_reporting) {
    std::fprintf(stderr, "duvelin: %.*s\n", static_cast<int>(message.size()), message.data());
    return;
  }
  m_reporting = true;
  try {
    m_trap(message);
  } catch (...) {
  }
  m_reporting = false;
}

bool TrappingApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Report(error.what());
  } catch (...) {
    Report("未知错误");
  }
  return false;
}

}  // namespace duvelin
