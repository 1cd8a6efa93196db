// The Qt adapters of the common interfaces: the scheduler on the event loop, private messages
// posted as events to their target, and the prompter's dialogs with their captions, texts and
// answers.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "common/qt/qt_message_poster.h"
#include "common/qt/qt_prompter.h"
#include "common/qt/qt_scheduler.h"

namespace duvelin {
namespace {

class Receiver : public QObject {
 public:
  std::vector<PrivateMessage> received;
  bool event(QEvent* event) override {
    if (event->type() == PrivateMessageEvent::EventType()) {
      received.push_back(static_cast<PrivateMessageEvent*>(event)->Message());
      return true;
    }
    return QObject::event(event);
  }
};

// Does `action` on the next modal dialog once it is up.
void OnNextModal(std::function<void(QWidget*)> action) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
    }
  });
  poll->start(10);
}

class QtAdaptersTest : public QObject {
  Q_OBJECT

 private slots:
  void schedulerRunsTasksFromTheLoopOnly() {
    QtScheduler scheduler;
    std::vector<std::string> order;
    scheduler.Post([&] { order.push_back("posted"); });
    QVERIFY(order.empty());
    scheduler.RunAfter(5, [&] { order.push_back("after"); });
    int repeats = 0;
    Scheduler::TimerId every = 0;
    every = scheduler.RunEvery(2, [&] {
      if (++repeats == 3) scheduler.Cancel(every);  // a task may cancel its own timer
    });
    const Scheduler::TimerId cancelled = scheduler.RunAfter(1, [&] { order.push_back("cancelled"); });
    scheduler.Cancel(cancelled);
    QTRY_COMPARE(repeats, 3);
    QTRY_COMPARE(order, (std::vector<std::string>{"posted", "after"}));
    QTest::qWait(20);
    QCOMPARE(repeats, 3);
  }

  void privateMessagesArePostedToTheirTarget() {
    QtMessagePoster poster;
    Receiver main;
    poster.Register(MessageTarget::MainWindow, &main);
    poster.Post(MessageTarget::MainWindow, {MSG_GAME_COMMAND, GAME_RUN_LINK_G, 0});
    poster.Post(MessageTarget::Trainer, {MSG_SPEECH_DONE, SPEECH_DONE_WPARAM, 0});  // no trainer: dropped
    QVERIFY(main.received.empty());
    QTRY_COMPARE(main.received.size(), size_t{1});
    QCOMPARE(main.received[0], (PrivateMessage{MSG_GAME_COMMAND, GAME_RUN_LINK_G, 0}));
    {
      Receiver gone;
      poster.Register(MessageTarget::Trainer, &gone);
    }
    poster.Post(MessageTarget::Trainer, {MSG_SPEECH_DONE, SPEECH_DONE_WPARAM, 0});
    QCoreApplication::processEvents();
  }

  void prompterShowsTheBoxAndReturnsTheAnswer_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(Prompter::Buttons::YesNo) << int(QMessageBox::Yes) << int(Prompter::Answer::Yes);
    QTest::newRow("no") << int(Prompter::Buttons::YesNo) << int(QMessageBox::No) << int(Prompter::Answer::No);
    QTest::newRow("ok") << int(Prompter::Buttons::Ok) << int(QMessageBox::Ok) << int(Prompter::Answer::Ok);
    QTest::newRow("cancel") << int(Prompter::Buttons::OkCancel) << int(QMessageBox::Cancel)
                            << int(Prompter::Answer::Cancel);
  }
  void prompterShowsTheBoxAndReturnsTheAnswer() {
    QFETCH(int, buttons);
    QFETCH(int, pressed);
    QFETCH(int, answer);
    QWidget parent;
    QtPrompter prompter(&parent);
    QString caption, text;
    OnNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      caption = box->windowTitle();
      text = box->text();
      box->button(static_cast<QMessageBox::StandardButton>(pressed))->click();
    });
    const auto result = prompter.ShowMessage("文件不存在", "错误", static_cast<Prompter::Buttons>(buttons),
                                             Prompter::Icon::Error);
    QCOMPARE(int(result), answer);
    QCOMPARE(caption, QStringLiteral("错误"));
    QCOMPARE(text, QStringLiteral("文件不存在"));
  }

  void prompterAsksForALine() {
    QtPrompter prompter;
    OnNextModal([](QWidget* modal) {
      auto* edit = modal->findChild<QLineEdit*>();
      QVERIFY(edit);
      QCOMPARE(edit->text(), QStringLiteral("旧名"));
      edit->setText(QStringLiteral("新名"));
      QMetaObject::invokeMethod(modal, "accept");
    });
    QCOMPARE(prompter.AskLine("改名", "名称：", "旧名"), std::optional<std::string>("新名"));
    OnNextModal([](QWidget* modal) { QMetaObject::invokeMethod(modal, "reject"); });
    QCOMPARE(prompter.AskLine("改名", "名称：", ""), std::nullopt);
  }
};

}  // namespace
}  // namespace duvelin

QTEST_MAIN(duvelin::QtAdaptersTest)
#include "qt_adapters_qtest.moc"
