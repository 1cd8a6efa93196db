// The error trap around event handling: an exception thrown in an event handler, a timer or a
// posted task becomes the trap's message box and the program goes on with the next event.
#include <QTimer>
#include <QtTest>

#include <stdexcept>

#include "settings/game_options.h"
#include "shell/error_trap.h"
#include "shell/qt/trapping_application.h"
#include "support/fake_prompter.h"

namespace duvelin {
namespace {

class Thrower : public QObject {
 public:
  int handled = 0;
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) {
      ++handled;
      throw std::runtime_error("磁盘已满");
    }
    return QObject::event(event);
  }
};

class ErrorTrapQtTest : public QObject {
  Q_OBJECT

 private slots:
  void exceptionsInHandlersReachTheTrapAndTheProgramGoesOn() {
    auto* application = static_cast<TrappingApplication*>(QCoreApplication::instance());
    testing::FakePrompter prompter;
    TGameOptions options;
    ErrorTrap trap(prompter, options, {});
    application->SetTrap([&trap](std::string_view message) { trap.Handle(message); });

    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    bool timerRan = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("mshtml: 拒绝访问"); });
    QTimer::singleShot(1, [&timerRan] { timerRan = true; });
    QTRY_VERIFY(timerRan);
    QCOMPARE(thrower.handled, 2);
    QCOMPARE(prompter.shown.size(), size_t{3});
    QCOMPARE(prompter.shown[0].text, std::string("程序出现了错误，错误信息为：磁盘已满。该错误已经被截获。"));
    QCOMPARE(prompter.shown[1].text, prompter.shown[0].text);
    QCOMPARE(prompter.shown[2].text, std::string("浏览器组件出现错误信息，点击是，查看解决方法"));
    QCOMPARE(trap.BrowserErrorCount(), 1);
    application->SetTrap({});
  }
};

}  // namespace
}  // namespace duvelin

int main(int argc, char** argv) {
  duvelin::TrappingApplication application(argc, argv);
  duvelin::ErrorTrapQtTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "error_trap_qtest.moc"
