// The start-up sequence: the windows in their order with the splash's progress, the settings
// applied to the main window's reading controls, a missing settings file that ends the start,
// and the real program started from another working directory.
#include <QProcess>
#include <QRegularExpression>

#include "reader/qt/reading_view.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/main_window.h"
#include "shell/qt/splash_window.h"
#include "shell/startup_order.h"
#include "shell_qtest_support.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::ServiceFixture;

std::vector<std::string> AsStrings(const std::vector<std::string_view>& views) {
  return {views.begin(), views.end()};
}

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void windowsAreCreatedInOrderWithTheirProgress() {
    ProgramFolderFixture folder;
    folder.CopyBundled("dat/set.txt");
    folder.CopyBundled("words.ini");  // the built-in library the battle window opens
    ServiceFixture fixture(folder.Folder());
    ApplicationWindows windows(fixture.services);
    QVERIFY(windows.CreateAll().ok());
    QCOMPARE(fixture.created, AsStrings(StartupWindowClasses()));
    // The bundled settings have online pronunciation off: no host lookup step.
    QCOMPARE(fixture.progress, AsStrings(BattleWindowProgressTexts()));
    QVERIFY(fixture.prompter.shown.empty());
    QVERIFY(windows.MainWindow() && windows.AuthoringWindow());
    QVERIFY(!windows.MainWindow()->isVisible());
  }

  void settingsReachTheReadingControls() {
    ProgramFolderFixture folder;
    folder.WriteGbk("dat/set.txt", "quci_guangbiao=1\r\nlangdu_gaoliang=0\r\nyodao_sound=1\r\n"
                                   "synedit_font=Courier,0,14,{Bold},{clWindowText}\r\n");
    ServiceFixture fixture(folder.Folder());
    ApplicationWindows windows(fixture.services);
    QVERIFY(windows.CreateAll().ok());
    TForm1& main = *windows.MainWindow();
    QCOMPARE(main.CurrentPickingMode(), PickingMode::ByCaret);
    QCOMPARE(main.CurrentHighlight(), ReadingHighlight::Off);
    QVERIFY(main.Reader().font().bold());
    QCOMPARE(main.Reader().font().pointSize(), 14);
    std::vector<std::string> expected = AsStrings(BattleWindowProgressTexts());
    expected.emplace_back(kHostLookupProgress);
    QCOMPARE(fixture.progress, expected);
  }

  void missingSettingsFileEndsTheStart() {
    ProgramFolderFixture folder;
    ServiceFixture fixture(folder.Folder());
    ApplicationWindows windows(fixture.services);
    QVERIFY(!windows.CreateAll().ok());
    QCOMPARE(fixture.prompter.shown.size(), size_t{1});
    QVERIFY(fixture.prompter.shown[0].text.starts_with("set.txt，设置文件不存在，可能游戏安装不完成。"));
    QCOMPARE(fixture.prompter.shown[0].caption, std::string("错误"));
    QCOMPARE(fixture.created, (std::vector<std::string>{"TForm1", "TForm_exit", "TForm_chinese", "TForm_pop"}));
    QCOMPARE(fixture.progress, (std::vector<std::string>{"初始化DirectX设备……5%", "加载配置信息……20%"}));
  }

  void splashShowsItsTextsAndSize() {
    TForm_show splash;
    QCOMPARE(splash.size(), QSize(442, 259));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.windowOpacity(), 200.0 / 255.0);
    QCOMPARE(splash.ProgressText(), QStringLiteral("加载组件……"));
    splash.SetProgressText("加载配置信息……20%");
    QCOMPARE(splash.ProgressText(), QStringLiteral("加载配置信息……20%"));
    QCOMPARE(splash.ProgressHistory(), (std::vector<std::string>{"加载组件……", "加载配置信息……20%"}));

    // The product name is drawn in red near its left edge (the gradient starts there) with a
    // grey shadow; "正在启动……" is red near its right edge.
    const QImage image = splash.grab().toImage();
    if (const QByteArray shots = qgetenv("DUVELIN_SHOT_DIR"); !shots.isEmpty())
      image.save(QString::fromLocal8Bit(shots) + QStringLiteral("/splash.png"));
    const auto count = [&image](QRect area, auto test) {
      int found = 0;
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
          if (test(QColor(image.pixel(x, y)))) ++found;
      return found;
    };
    const auto reddish = [](QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
    const auto grey = [](QColor c) { return c.red() == 128 && c.green() == 128 && c.blue() == 128; };
    QVERIFY(count(QRect(42, 38, 60, 50), reddish) > 20);
    QVERIFY(count(QRect(42, 38, 200, 60), grey) > 5);
    const int rightRed = count(QRect(250, 150, 60, 50), reddish);
    const int leftRed = count(QRect(80, 150, 60, 50), reddish);
    QVERIFY2(rightRed > 4 * leftRed && rightRed > 20, qPrintable(QStringLiteral("%1 %2").arg(leftRed).arg(rightRed)));
  }

  void programStartsFromAnotherWorkingDirectory_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("environment");
    const QString bin = QFileInfo(QStringLiteral(DUVELIN_PROGRAM_PATH)).absolutePath();
    QTest::newRow("--program-folder") << QStringList{"--exit-after-start", "--program-folder", bin} << false;
    QTest::newRow("executable's folder") << QStringList{"--exit-after-start"} << false;
    QTest::newRow("environment") << QStringList{"--exit-after-start"} << true;
  }
  void programStartsFromAnotherWorkingDirectory() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, environment);
    QTemporaryDir elsewhere;
    QProcess program;
    program.setWorkingDirectory(elsewhere.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.remove(QStringLiteral("DUVELIN_PROGRAM_FOLDER"));
    if (environment)
      env.insert(QStringLiteral("DUVELIN_PROGRAM_FOLDER"), QFileInfo(QStringLiteral(DUVELIN_PROGRAM_PATH)).absolutePath());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(DUVELIN_PROGRAM_PATH), arguments);
    QVERIFY(program.waitForStarted());
    QVERIFY(program.waitForFinished(120000));
    const QString output = QString::fromUtf8(program.readAllStandardOutput());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(QRegularExpression(QStringLiteral("^started in \\d+ ms\\n$")).match(output).hasMatch(),
             qPrintable(output + QString::fromUtf8(program.readAllStandardError())));
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::StartupTest)
#include "startup_qtest.moc"
