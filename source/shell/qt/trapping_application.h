// The application object with the error trap around all event handling: an exception that
// escapes an event handler (a slot, a timer, a posted task) is caught here and its message
// handed to the trap, and the program goes on with the next event.
#pragma once

#include <QApplication>

#include <functional>
#include <string_view>

namespace duvelin {

class TrappingApplication final : public QApplication {
 public:
  using Trap = std::function<void(std::string_view utf8Message)>;

  TrappingApplication(int& argc, char** argv) : QApplication(argc, argv) {}

  void SetTrap(Trap trap) { m_trap = std::move(trap); }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void Report(std::string_view message);

  Trap m_trap;
  bool m_reporting = false;
};

}  // namespace duvelin
