// Leaving the screen, among the real windows with voices that speak nothing: the exit dialog's
// buttons and results; the main window's close query with each answer; minimising with and
// without the minimise-to-trainer option; MSG_TRAY_NOTIFY from the tray icon, the trainer's
// "显示游戏窗口" and "显示窗口" bringing the program back; the trainer closed while the program
// sits in the tray does not end it.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "common/qt/qt_text.h"
#include "script/browser/qt/web_browser.h"
#include "shell/exit_rules.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/exit_dialog.h"
#include "shell/qt/main_window.h"
#include "shell/qt/shell_qtest_support.h"
#include "shell/qt/tray_icon.h"
#include "trainer/qt/trainer_window.h"

namespace duvelin {
namespace {

using testing::ProgramWindows;

constexpr int kWaitMs = 30000;

// Answers the exit dialog once its modal loop runs: records which buttons are enabled, then
// clicks `button` (or uses the close box when there is none).
class DialogAnswer {
 public:
  DialogAnswer(TForm_exit& dialog, std::optional<ExitResult> button) : m_dialog(dialog), m_button(button) { Arm(); }

  bool answered = false;
  std::map<ExitResult, bool> enabled;

 private:
  void Arm() {
    QTimer::singleShot(0, &m_dialog, [this] {
      if (!m_dialog.isVisible()) return Arm();
      for (const ExitButton& button : kExitButtons) enabled[button.result] = m_dialog.Button(button.result)->isEnabled();
      answered = true;
      if (m_button)
        m_dialog.Button(*m_button)->click();
      else
        m_dialog.close();
    });
  }

  TForm_exit& m_dialog;
  std::optional<ExitResult> m_button;
};

class ExitAndTrayTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramWindows> program;

  TForm1& Main() { return *program->windows.MainWindow(); }
  TForm_exit& Dialog() { return *program->windows.ExitDialog(); }
  TForm_chinese& TrainerWindow() { return *program->windows.Trainer(); }
  DesktopTrainer& Trainer() { return *program->windows.Trainer()->Trainer(); }

  // Every window made; the main window shown and through its first show when `show`.
  void Start(bool minimiseToTrainer, bool show = true) {
    program = std::make_unique<ProgramWindows>();
    program->folder.CopyBundled("dat/set.txt");
    program->folder.CopyBundled("dat/effect.ini");
    program->folder.WriteGbk("web/start.htm", "<html><body><p>MAKER</p></body></html>");
    program->folder.WriteGbk("words.ini", "apple=n. 苹果\r\npear=n. 梨\r\nplum=n. 李子\r\n");
    QVERIFY(program->windows.CreateAll().ok());
    QVERIFY(TrainerWindow().Trainer());
    program->fixture.options.general.desktop_word = minimiseToTrainer ? 1 : 0;
    if (!show) return;
    Main().show();
    QTRY_VERIFY_WITH_TIMEOUT(Main().FirstShowDone(), kWaitMs);
    QVERIFY(Main().BrowserBand().WaitForLoad());
  }

  void PostTray(intptr_t mouseMessage) {
    program->fixture.poster.Post(MessageTarget::MainWindow, {MSG_TRAY_NOTIFY, 0, mouseMessage});
  }

  // In the tray: main window gone from the screen (still minimised), "显示窗口" shown, the
  // tray icon added, the trainer on top with its cycle running.
  void VerifyInTray() {
    QVERIFY(Main().IsInTray());
    QVERIFY(!Main().isVisible());
    QVERIFY(Main().isMinimized());
    QVERIFY(Main().RestoreAction()->isVisible());
    QVERIFY(Main().Tray().IsAdded());
    QCOMPARE(Main().Tray().Icon().toolTip(), QStringLiteral("Duvelin 1.2"));
    QVERIFY(!Main().Tray().Icon().icon().isNull());
    QVERIFY(TrainerWindow().isVisible());
    QVERIFY(TrainerWindow().windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Shown);
  }

  // Back: main window on screen and not minimised, trainer closed, no tray icon.
  void VerifyRestored() {
    QVERIFY(!Main().IsInTray());
    QVERIFY(Main().isVisible());
    QVERIFY(!Main().isMinimized());
    QVERIFY(!Main().RestoreAction()->isVisible());
    QVERIFY(!Main().Tray().IsAdded());
    QVERIFY(!TrainerWindow().isVisible());
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Closed);
    QVERIFY(!Trainer().IsCycleRunning());
  }

  void MinimiseIntoTray() {
    Main().showMinimized();
    QVERIFY(Trainer().IsCycleRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!Main().isVisible(), kWaitMs);
    VerifyInTray();
  }

 private slots:
  void cleanup() {
    program.reset();
  }

  void exitDialogButtonsAndResults() {
    Start(false, false);
    QCOMPARE(Dialog().windowTitle(), FromUtf8("退出"));
    QCOMPARE(Dialog().size(), QSize(504, 168));
    QVERIFY(Dialog().isModal());
    struct Expected {
      const char* caption;
      ExitResult result;
      bool shown;
    };
    const Expected buttons[] = {{"隐藏游戏并启动桌面背单词", ExitResult::HideToTrainer, true},
                                {"存盘退出", ExitResult::SaveAndExit, false},
                                {"直接退出", ExitResult::ExitAtOnce, true},
                                {"继续学习", ExitResult::GoOnLearning, true}};
    for (const Expected& expected : buttons) {
      QPushButton* button = Dialog().Button(expected.result);
      QVERIFY(button);
      QCOMPARE(button->text(), FromUtf8(expected.caption));
      QCOMPARE(!button->isHidden(), expected.shown);
      Dialog().open();
      button->setEnabled(true);
      button->click();
      QCOMPARE(Dialog().result(), static_cast<int>(expected.result));
      QVERIFY(!Dialog().isVisible());
    }
    // The close box, and Escape with it, go on learning.
    Dialog().open();
    QVERIFY(Dialog().close());
    QCOMPARE(Dialog().result(), 2);
    Dialog().open();
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    QCOMPARE(Dialog().result(), 2);
  }

  void exitDialogEnablesTheFirstButtonOnlyWithTheOption() {
    for (bool option : {false, true}) {
      Start(option, false);
      DialogAnswer answer(Dialog(), ExitResult::GoOnLearning);
      const ExitConditions conditions{program->fixture.options.general.desktop_word != 0, false, false};
      QCOMPARE(Dialog().Ask(conditions), 2);
      QVERIFY(answer.answered);
      QCOMPARE(answer.enabled[ExitResult::HideToTrainer], option);
      QVERIFY(!answer.enabled[ExitResult::SaveAndExit]);
      QVERIFY(answer.enabled[ExitResult::ExitAtOnce]);
      QVERIFY(answer.enabled[ExitResult::GoOnLearning]);
      cleanup();
    }
  }

  void closeQueryKeepsTheWindowForGoOnLearningAndTheCloseBoxAndClosesForExit() {
    Start(false);
    QSignalSpy closed(&Main(), &TForm1::closed);
    struct Case {
      std::optional<ExitResult> button;
      bool closes;
    };
    // Exit last: it closes the window.
    const Case cases[] = {{ExitResult::GoOnLearning, false}, {std::nullopt, false}, {ExitResult::ExitAtOnce, true}};
    for (const Case& c : cases) {
      DialogAnswer answer(Dialog(), c.button);
      QCOMPARE(Main().close(), c.closes);
      QVERIFY(answer.answered);
      // The first button stays disabled with the option off, saving is never offered.
      QVERIFY(!answer.enabled[ExitResult::HideToTrainer]);
      QVERIFY(!answer.enabled[ExitResult::SaveAndExit]);
      QCOMPARE(Main().isVisible(), !c.closes);
      QCOMPARE(closed.count(), c.closes ? 1 : 0);
      QVERIFY(!Main().isMinimized());
    }
  }

  void closeQueryHideAnswerRefusesAndMinimisesIntoTheTray() {
    Start(true);
    QSignalSpy closed(&Main(), &TForm1::closed);
    DialogAnswer answer(Dialog(), ExitResult::HideToTrainer);
    QVERIFY(!Main().close());
    QVERIFY(answer.enabled[ExitResult::HideToTrainer]);
    // The minimise is posted: the window is still there when the close query returns.
    QVERIFY(!Main().IsInTray());
    QTRY_VERIFY_WITH_TIMEOUT(Main().IsInTray() && !Main().isVisible(), kWaitMs);
    VerifyInTray();
    QCOMPARE(closed.count(), 0);
  }

  void minimiseWithTheOptionOnGoesToTheTray() {
    Start(true);
    MinimiseIntoTray();
  }

  void minimiseWithTheOptionOffIsAnOrdinaryOne() {
    Start(false);
    Main().showMinimized();
    QVERIFY(Main().isMinimized());
    QVERIFY(Main().isVisible());
    QVERIFY(!Main().IsInTray());
    QVERIFY(!Main().RestoreAction()->isVisible());
    QVERIFY(!Main().Tray().IsAdded());
    QVERIFY(!TrainerWindow().isVisible());
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Closed);
  }

  void everyWayBackRestores() {
    Start(true);
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"MSG_TRAY_NOTIFY 513", [this] { PostTray(TRAY_LEFT_DOWN); }},
        {"MSG_TRAY_NOTIFY 515 while minimised", [this] { PostTray(TRAY_LEFT_DOUBLE_CLICK); }},
        {"tray click", [this] { emit Main().Tray().Icon().activated(QSystemTrayIcon::Trigger); }},
        {"tray double click", [this] { emit Main().Tray().Icon().activated(QSystemTrayIcon::DoubleClick); }},
        {"trainer's 显示游戏窗口",
         [this] {
           for (QAction* action : TrainerWindow().Menu().actions())
             if (action->text() == FromUtf8("显示游戏窗口")) action->trigger();
         }},
        {"显示窗口", [this] { Main().RestoreAction()->trigger(); }},
    };
    for (const auto& [name, way] : ways) {
      qInfo("%s", name);
      MinimiseIntoTray();
      way();
      QTRY_VERIFY_WITH_TIMEOUT(!Main().IsInTray(), kWaitMs);
      VerifyRestored();
    }
  }

  void otherTrayMessagesKeepTheProgramInTheTray() {
    Start(true);
    MinimiseIntoTray();
    PostTray(514);
    emit Main().Tray().Icon().activated(QSystemTrayIcon::MiddleClick);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    VerifyInTray();
  }

  void doubleClickWhileNotMinimisedDoesNothing() {
    Start(true);
    // The trainer shown by hand: a restore would close it.
    TrainerWindow().show();
    PostTray(TRAY_LEFT_DOUBLE_CLICK);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(TrainerWindow().isVisible());
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Shown);
    QVERIFY(Main().isVisible());
    // A single click restores in any state.
    PostTray(TRAY_LEFT_DOWN);
    QTRY_VERIFY_WITH_TIMEOUT(!TrainerWindow().isVisible(), kWaitMs);
  }

  void rightClickOpensTheSharedMenu() {
    Start(true);
    MinimiseIntoTray();
    emit Main().Tray().Icon().activated(QSystemTrayIcon::Context);
    QTRY_VERIFY_WITH_TIMEOUT(Main().SharedMenu().isVisible(), kWaitMs);
    QVERIFY(Main().RestoreAction()->isVisible());
    Main().SharedMenu().close();
    VerifyInTray();
  }

  void closingTheTrainerInTheTrayKeepsTheProgram() {
    Start(true);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    MinimiseIntoTray();
    for (QAction* action : TrainerWindow().Menu().actions())
      if (action->text() == FromUtf8("关闭本窗口")) action->trigger();
    QVERIFY(!TrainerWindow().isVisible());
    QCOMPARE(program->fixture.options.general.desktop_word, uint8_t{0});
    QVERIFY(Main().IsInTray());
    // Back from the tray once more; the next minimise is an ordinary one.
    PostTray(TRAY_LEFT_DOWN);
    QTRY_VERIFY_WITH_TIMEOUT(!Main().IsInTray(), kWaitMs);
    QVERIFY(Main().isVisible());
    Main().showMinimized();
    QVERIFY(!Main().IsInTray());
    QVERIFY(Main().isVisible());
    QCOMPARE(lastClosed.count(), 0);
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::ExitAndTrayTest)
#include "exit_and_tray_qtest.moc"
