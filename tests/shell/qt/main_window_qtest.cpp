// The main window: its layout, controls, hints, keys and shared menu; first show with the start
// text, the banner and the maker's page; the reader options written back; the right click in
// the browser band.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>

#include <memory>

#include "reader/qt/reading_view.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "script/browser/qt/web_browser.h"
#include "shell/first_show_rules.h"
#include "shell/main_window_controls.h"
#include "shell/qt/main_window.h"
#include "shell/tip_timer.h"
#include "shell_qtest_support.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::ServiceFixture;

constexpr int kWaitMs = 30000;

// "Hello reader." / "你好，读者。" with the separator between them.
constexpr char kStartText[] = "Hello reader. Press F7.\r\nSecond paragraph.\r\n***分割符***\r\n你好，读者。\r\n第二段。\r\n";

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  std::unique_ptr<ServiceFixture> fixture;
  std::unique_ptr<TForm1> window;

  void MakeFolder(bool withStartText) {
    folder = std::make_unique<ProgramFolderFixture>();
    folder->CopyBundled("dat/set.txt");
    folder->CopyBundled("dat/effect.ini");
    folder->WriteGbk("web/start.htm", "<html><body><p id=\"maker\">读书页 MAKER</p></body></html>");
    if (withStartText) folder->WriteGbk("dat/new.dat", kStartText);
    fixture = std::make_unique<ServiceFixture>(folder->Folder());
  }

  // Shows the window and waits until first show is over and the maker's page has loaded.
  void ShowAndWait() {
    window = std::make_unique<TForm1>(fixture->services);
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(window->FirstShowDone(), kWaitMs);
    QVERIFY(window->BrowserBand().WaitForLoad());
  }

  static QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
      QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
      if (!action->isVisible()) text += QStringLiteral("(hidden)");
      if (action->menu()) text += QStringLiteral("[") + MenuTexts(*action->menu()).join(QLatin1Char(',')) + QStringLiteral("]");
      texts << text;
    }
    return texts;
  }

 private slots:
  void cleanup() {
    window.reset();
    fixture.reset();
    folder.reset();
  }

  void layoutAndControls() {
    MakeFolder(true);
    ShowAndWait();
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - new.dat"));
    QVERIFY(window->isMaximized());
    QCOMPARE(window->font().family(), QStringLiteral("宋体"));
    QCOMPARE(window->font().pixelSize(), 13);
    QCOMPARE(window->BrowserBand().height(), TForm1::kBrowserBandHeight);
    QCOMPARE(window->BrowserBand().width(), window->centralWidget()->width());
    QCOMPARE(window->BrowserBand().geometry().top(), 0);
    QCOMPARE(window->Splitter().handleWidth(), TForm1::kSplitterWidth);
    QCOMPARE(window->Splitter().sizes().value(0), TForm1::kLeftColumnWidth);
    QCOMPARE(window->Splitter().widget(1), static_cast<QWidget*>(&window->Reader()));
    QVERIFY(window->Reader().isReadOnly());
    QCOMPARE(window->StatusPanel(0).width(), 430);
    QCOMPARE(window->StatusPanel(1).width(), 50);
    QCOMPARE(window->MaterialTree().iconSize(), QSize(32, 32));
    QCOMPARE(window->MaterialTree().indentation(), 35);
    QVERIFY(window->Effects().Has(1000));  // dat\effect.ini of the program folder

    for (const ReaderControl& control : ReaderControls()) {
      QAbstractButton* widget = window->Control(control.command);
      QVERIFY(widget);
      QCOMPARE(widget->text(), QString::fromUtf8(control.caption.data(), control.caption.size()));
      QCOMPARE(widget->statusTip(), QString::fromUtf8(control.hint.data(), control.hint.size()));
      QVERIFY(widget->isVisible());
    }
    QCOMPARE(window->Control(ShellCommand::SwitchWhole)->text(), QStringLiteral("中英文切换-  全文 F7"));
    QVERIFY(window->Control(ShellCommand::PickByMouse)->isChecked());
    QVERIFY(!window->Control(ShellCommand::PickByCaret)->isChecked());
    QVERIFY(window->Control(ShellCommand::HighlightWhileReading)->isChecked());
    QCOMPARE(window->Reader().CaretState(), ReadingView::Caret::Hidden);

    // Exactly the four hidden controls, none of them shown.
    int hidden = 0;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
      if (!button->isVisibleTo(window.get()) && QStringList{"单词翻译", "发表留言评论", "上论坛讨论"}.contains(button->text()))
        ++hidden;
    QCOMPARE(hidden, 3);
    QVERIFY(window->findChild<QWidget*>(QStringLiteral("PartnerList"))->isHidden());
  }

  void hoveringAControlShowsItsHint() {
    MakeFolder(true);
    ShowAndWait();
    QAbstractButton* button = window->Control(ShellCommand::ReadSentence);
    QTest::mouseMove(button);
    QTRY_COMPARE(window->StatusPanel(0).text(), QStringLiteral("朗读当前光标或者鼠标所在位置的句子，快捷键 F5"));
    QTest::mouseMove(window->Control(ShellCommand::Settings));
    QTRY_COMPARE(window->StatusPanel(0).text(), QStringLiteral("语音引擎，阅读器字体，背景图等设置"));
  }

  void sharedMenuItemsInOrder() {
    MakeFolder(true);
    window = std::make_unique<TForm1>(fixture->services);
    const QStringList expected = {
        "显示窗口(hidden)", "背单词",
        "小游戏背单词[泡泡龙[初级,中级,高级],五子棋背单词[白痴级,入门级,熟练级,中级(hidden),高级(hidden)]]",
        "-", "复制", "添加阅读材料", "-", "单词朗读", "句子朗读", "整段朗读", "全文朗读", "-", "中英切换-段",
        "中英切换-全文", "中英文同时显示", "-", "设置…", "作者…"};
    QCOMPARE(MenuTexts(window->SharedMenu()), expected);
    QCOMPARE(window->SharedMenu().actions().value(1)->statusTip(),
             QStringLiteral("和某个同伴一起背单词，连续背满20个单词，就有机会增长和她的爱情值"));
    QCOMPARE(window->SharedMenu().actions().value(1)->data().toInt(), 50);
    QMenu* bubble = window->SharedMenu().actions().value(2)->menu()->actions().value(0)->menu();
    QList<int> levels;
    for (QAction* level : bubble->actions()) levels << level->data().toInt();
    QCOMPARE(levels, (QList<int>{60, 120, 200}));
    QCOMPARE(window->RestoreAction()->text(), QStringLiteral("显示窗口"));
  }

  void functionKeysAreBound() {
    MakeFolder(true);
    window = std::make_unique<TForm1>(fixture->services);
    const std::vector<std::pair<ShellCommand, QString>> keys = {
        {ShellCommand::Help, "F1"},         {ShellCommand::ReadWord, "F2"},        {ShellCommand::ReadParagraph, "F4"},
        {ShellCommand::ReadSentence, "F5"}, {ShellCommand::SwitchParagraph, "F6"}, {ShellCommand::SwitchWhole, "F7"},
        {ShellCommand::Interleave, "F8"},   {ShellCommand::NewWord, "F9"}};
    for (const auto& [command, key] : keys) {
      QAction* action = window->KeyAction(command);
      QVERIFY2(action, qPrintable(key));
      QCOMPARE(action->shortcut(), QKeySequence(key));
    }
  }

  void keysSwitchTheTextAndOpenHelp() {
    MakeFolder(true);
    ShowAndWait();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->Reader().setFocus();
    QTest::keyClick(&window->Reader(), Qt::Key_F7);
    QCOMPARE(window->Document().mode(), DisplayMode::Chinese);
    QVERIFY(!window->Reader().Lines().empty());
    QCOMPARE(window->Reader().Lines().front(), Utf8ToGbk("你好，读者。"));
    QTest::keyClick(&window->Reader(), Qt::Key_F8);
    QCOMPARE(window->Document().mode(), DisplayMode::EnglishFirst);
    QCOMPARE(window->Reader().Lines(), window->Document().ViewLines());
    QTest::keyClick(&window->Reader(), Qt::Key_F1);
    QCOMPARE(fixture->opened.size(), size_t{1});
    QVERIFY(fixture->opened[0].toLocalFile().endsWith(QStringLiteral("/dat/help.htm")));
    QVERIFY(fixture->opened[0].toLocalFile().startsWith(QString::fromStdString(folder->Folder().Root().string())));
  }

  void ctrlCCopiesTheReadersSelection() {
    MakeFolder(true);
    ShowAndWait();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTextCursor cursor = window->Reader().textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    window->Reader().setTextCursor(cursor);
    window->Reader().setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(&window->Reader(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Hello"));
    // The menu's "复制" does the same.
    QApplication::clipboard()->clear();
    window->RunCommand(ShellCommand::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Hello"));
  }

  void firstShowFillsReaderWritesBannerAndOpensMakersPage() {
    MakeFolder(true);
    window = std::make_unique<TForm1>(fixture->services);
    QSignalSpy banner(&window->BrowserBand(), &WebBrowser::documentWritten);
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2"));
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(window->FirstShowDone(), kWaitMs);
    QCOMPARE(banner.count(), 1);
    QVERIFY2(banner[0][0].toString().contains(QStringLiteral("Duvelin")), qPrintable(banner[0][0].toString()));

    const LineList expected = {"Hello reader. Press F7.", "", "Second paragraph.", ""};
    QCOMPARE(window->Reader().Lines(), expected);
    QCOMPARE(window->Document().cnLines().front(), Utf8ToGbk("你好，读者。"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - new.dat"));
    QVERIFY(fixture->prompter.shown.empty());
    QVERIFY(window->Tips().Running());

    QVERIFY(window->BrowserBand().WaitForLoad());
    QCOMPARE(window->BrowserBand().url().toString(), QString::fromLatin1(kMakerPageAddress));
    std::optional<QVariant> body = window->BrowserBand().RunScript(QStringLiteral("document.body.innerText"));
    QVERIFY(body);
    QCOMPARE(body->toString().trimmed(), QStringLiteral("读书页 MAKER"));
  }

  void missingStartTextIsReportedAndStartGoesOn() {
    MakeFolder(false);
    ShowAndWait();
    QCOMPARE(fixture->prompter.shown.size(), size_t{1});
    QCOMPARE(fixture->prompter.shown[0].text, std::string("文件不存在"));
    QCOMPARE(fixture->prompter.shown[0].caption, std::string("错误"));
    QVERIFY(window->Reader().Lines().empty());
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2"));
    QVERIFY(window->Tips().Running());
    QCOMPARE(window->BrowserBand().url().toString(), QString::fromLatin1(kMakerPageAddress));
  }

  void microsoftSamAddsTheEngineNotice_data() {
    QTest::addColumn<QString>("voice");
    QTest::addColumn<bool>("notice");
    QTest::newRow("exact") << "Microsoft Sam" << true;
    QTest::newRow("upper") << "MICROSOFT SAM" << true;
    QTest::newRow("other") << "English (Great Britain)" << false;
  }
  void microsoftSamAddsTheEngineNotice() {
    QFETCH(QString, voice);
    QFETCH(bool, notice);
    MakeFolder(true);
    fixture->voices.descriptions = {"first voice", voice.toStdString()};
    fixture->options.speech.game_tts_index = 1;
    ShowAndWait();
    LineList expected = {"Hello reader. Press F7.", "", "Second paragraph.", ""};
    if (notice) {
      expected.push_back("");
      expected.push_back(*SpeechEngineNotice("Microsoft Sam"));
    }
    QCOMPARE(window->Reader().Lines(), expected);
  }

  void vwKateSwitchesOnlinePronunciationOffForTheRun() {
    MakeFolder(true);
    const std::string settingsBefore = folder->Read("dat/set.txt");
    fixture->voices.descriptions = {"vw KATE"};
    fixture->options.speech.yodao_sound = 1;
    ShowAndWait();
    QCOMPARE(int(fixture->options.speech.yodao_sound), 0);
    QCOMPARE(folder->Read("dat/set.txt"), settingsBefore);
  }

  void readerOptionsAreWrittenWhenClicked() {
    MakeFolder(true);
    ShowAndWait();
    window->Control(ShellCommand::PickByCaret)->click();
    QCOMPARE(window->Reader().CaretState(), ReadingView::Caret::Shown);
    std::string settings = folder->Read("dat/set.txt");
    QVERIFY(settings.find("quci_guangbiao=1\r\n") != std::string::npos);
    QVERIFY(settings.find("langdu_gaoliang=1\r\n") != std::string::npos);
    QCOMPARE(int(fixture->options.general.quci_guangbiao), 1);

    window->Control(ShellCommand::HighlightWhileReading)->click();
    window->Control(ShellCommand::PickByMouse)->click();
    QCOMPARE(window->Reader().CaretState(), ReadingView::Caret::Hidden);
    settings = folder->Read("dat/set.txt");
    QVERIFY(settings.find("quci_guangbiao=0\r\n") != std::string::npos);
    QVERIFY(settings.find("langdu_gaoliang=0\r\n") != std::string::npos);
    QVERIFY(fixture->prompter.shown.empty());
  }

  void rightClickInTheBrowserOpensTheSharedMenu() {
    MakeFolder(true);
    ShowAndWait();
    QWidget* target = window->BrowserBand().focusProxy();
    if (!target) target = &window->BrowserBand();
    QVERIFY(!window->SharedMenu().isVisible());
    QTest::mousePress(target, Qt::RightButton, {}, QPoint(40, 40));
    QTRY_VERIFY(window->SharedMenu().isVisible());
    QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(40, 40));
    window->SharedMenu().hide();

    // The reader moves its caret to the click, then opens the same menu.
    QTest::mousePress(window->Reader().viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTRY_VERIFY(window->SharedMenu().isVisible());
    window->SharedMenu().hide();
  }

  void aboutBoxAndPostedCommands() {
    MakeFolder(true);
    window = std::make_unique<TForm1>(fixture->services);
    window->RunCommand(ShellCommand::About);
    QCOMPARE(fixture->prompter.shown.size(), size_t{1});
    QCOMPARE(fixture->prompter.shown[0].caption, std::string("关于"));
    QVERIFY(fixture->prompter.shown[0].text.find("Duvelin") != std::string::npos);

    QWidget authoring;
    window->SetAuthoringWindow(&authoring);
    QTest::mouseClick(window->Control(ShellCommand::AddMaterial), Qt::LeftButton);
    QVERIFY(!authoring.isVisible());  // posted, not done inside the click
    QTRY_VERIFY(authoring.isVisible());
    QCOMPARE(window->LastGameCommand()->wParam, intptr_t{GAME_SHOW_AUTHORING});
    authoring.hide();
  }

  void tipTimerNeverNavigatesWhileAnotherWindowIsActive() {
    MakeFolder(true);
    ShowAndWait();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    // Far over any threshold: every tick either lowers the counter or resets it and would
    // navigate, were the main window active.
    int resets = 0;
    for (int i = 0; i < 20; ++i) {
      window->Tips().SetCounter(100000);
      window->Tips().Tick();
      if (window->Tips().Counter() == 0) ++resets;
    }
    QVERIFY(resets > 0);
    QVERIFY(!window->BrowserBand().IsLoading());
    QCOMPARE(window->BrowserBand().url().toString(), QString::fromLatin1(kMakerPageAddress));
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::MainWindowTest)
#include "main_window_qtest.moc"
