// The reading view in the main window: the current position and the picked word for the mouse
// (through wrapped rows, on Chinese lines) and for the caret (also past a line's end), the right
// click, F6 with the mouse, with the caret and with the pointer outside the view, F7 and F8,
// unequal parts reported by the error trap, and F9 into the new-word book with the battle
// window's library box updated at once.
#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QTreeWidget>

#include "battle/qt/battle_window.h"
#include "reader/qt/material_tree_widget.h"
#include "reader_qtest_support.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/main_window.h"

namespace duvelin {
namespace {

using testing::CellCentre;
using testing::ColumnOf;
using testing::Gbk;
using testing::PastLineEnd;
using testing::RowOf;
using testing::ProgramWindows;

constexpr int kWaitMs = 30000;

constexpr char kEnglish1[] =
    "In 2012 the old harbour city hosted a great meeting of curious people from many countries around the "
    "world, and after long days of talks the scientists agreed that the meeting had been a success for everyone "
    "who came to listen and to learn.";
constexpr char kEnglish2[] = "Second paragraph here";
constexpr char kChinese1[] =
    "在2012年，这座古老的港口城市举办了一次盛大的会议，来自世界许多国家的好奇的人们参加了会议，经过多日的讨论，"
    "科学家们一致认为这次会议对每一位前来聆听和学习的人来说都非常成功。";
constexpr char kChinese2[] = "第二段在这里。";

std::string StartText() {
  return std::string(kEnglish1) + "\r\n" + kEnglish2 + "\r\n***分割符***\r\n" + kChinese1 + "\r\n" + kChinese2 + "\r\n";
}

class ReadingViewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramWindows> program;
  TForm1* window = nullptr;

  ReadingView& View() { return window->Reader(); }

  // All windows as the program makes them, the main window shown with the start text.
  void Start() {
    program = std::make_unique<ProgramWindows>();
    program->folder.WriteGbk("dat/set.txt", "quci_guangbiao=0\r\nlangdu_gaoliang=1\r\n");
    program->folder.WriteGbk("web/start.htm", "<html><body>start</body></html>");
    program->folder.WriteGbk("dat/new.dat", StartText());
    program->folder.CopyBundled("words.ini");  // the built-in library the battle window opens
    QVERIFY(program->windows.CreateAll().ok());
    window = program->windows.MainWindow();
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(window->FirstShowDone(), kWaitMs);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_VERIFY(window->isMaximized());
    QTest::qWait(20);  // the maximised layout settles
    PointOutside();
    QVERIFY(program->fixture.prompter.shown.empty());
  }

  void PointAt(int line, int column) { QTest::mouseMove(View().viewport(), CellCentre(View(), line, column)); }
  void PointOutside() { QTest::mouseMove(&window->MaterialTree(), QPoint(5, 5)); }
  void Key(Qt::Key key) { QTest::keyClick(&View(), key); }

  std::string Line(int line) { return View().Lines().at(static_cast<size_t>(line)); }

 private slots:
  void cleanup() {
    window = nullptr;
    program.reset();
  }

  void mousePicksTheCellUnderThePointerThroughWrappedRows() {
    Start();
    const LineList shown = {kEnglish1, "", kEnglish2, ""};
    QCOMPARE(View().Lines(), shown);

    // A word on a wrapped row: the row goes back to text line 0 and its column.
    const int scientists = ColumnOf(View(), 0, "scientists") + 3;
    QVERIFY2(RowOf(View(), 0, scientists) >= 1, "the long line must wrap");
    PointAt(0, scientists);
    QCOMPARE(View().PointerCell(), (ViewPoint{0, scientists}));
    QCOMPARE(View().WordUnderPointer(), std::string("scientists"));
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), scientists);
    QCOMPARE(View().PickedWord(PickingMode::ByMouse), std::string("scientists"));

    // Line 2 starts after line 0 and the empty line 1, each line break counting two.
    const int here = ColumnOf(View(), 2, "here");
    PointAt(2, here + 1);
    const int lineTwo = static_cast<int>(std::string(kEnglish1).size()) + 2 + 2;
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), lineTwo + here + 1);
    QCOMPARE(View().WordUnderPointer(), std::string("here"));

    // Right of the last row of a line the cells go on past its end; the position is the
    // line's end.
    const int length = static_cast<int>(std::string(kEnglish2).size());
    QTest::mouseMove(View().viewport(), PastLineEnd(View(), 2, 3.5));
    QCOMPARE(View().PointerCell(), (ViewPoint{2, length + 3}));
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), lineTwo + length);
    QCOMPARE(View().WordUnderPointer(), std::string());
    // Below the text the lines go on past the last one.
    QTest::mouseMove(View().viewport(), QPoint(30, View().viewport()->height() - 3));
    QVERIFY(View().PointerCell()->line >= View().PositionMap().LineCount());
    QVERIFY(View().CurrentPosition(PickingMode::ByMouse) >= View().PositionMap().TextLength());

    // Outside the view there is no pointer cell: the caret gives the position.
    PointOutside();
    QCOMPARE(View().PointerCell(), std::nullopt);
    QCOMPARE(View().WordUnderPointer(), std::string());
    View().SetCaretPoint({2, 3});
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), lineTwo + 3);
  }

  void mousePicksOnChineseLinesInGbkBytes() {
    Start();
    Key(Qt::Key_F7);
    QCOMPARE(window->Document().mode(), DisplayMode::Chinese);
    QCOMPARE(Line(0), Gbk(kChinese1));

    // "2012" follows one Chinese character (two bytes); the editor's word runs over the
    // single bytes 0xC0-0xFF as well, so it takes in "在" and "年".
    const int digit = ColumnOf(View(), 0, "2012") + 1;
    PointAt(0, digit);
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), 3);
    QCOMPARE(View().WordUnderPointer(), Gbk("在2012年"));

    // A character on the wrapped second row: its position counts the GBK bytes before it.
    const int success = ColumnOf(View(), 0, "成功");
    QVERIFY2(RowOf(View(), 0, success) >= 1, "the Chinese line must wrap");
    PointAt(0, success);
    const QString before = View().document()->firstBlock().text().left(success);
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), static_cast<int>(ToGbk(before).size()));

    // The second paragraph, after the line and the empty line between.
    PointAt(2, 1);
    QCOMPARE(View().CurrentPosition(PickingMode::ByMouse), static_cast<int>(Gbk(kChinese1).size()) + 4 + 2);
  }

  void caretPicksAtTheCaretAndStandsPastTheLineEnd() {
    Start();
    window->ApplyReaderOptions(PickingMode::ByCaret, ReadingHighlight::On);
    window->RunCommand(ShellCommand::HighlightWhileReading);  // stores the options, shows the caret
    QCOMPARE(View().CaretState(), ReadingView::Caret::Shown);
    PointAt(0, ColumnOf(View(), 0, "harbour"));  // the mouse plays no part now

    const int meeting = ColumnOf(View(), 0, "meeting", 2) + 2;
    View().SetCaretPoint({0, meeting});
    QCOMPARE(View().WordAtCaret(), std::string("meeting"));
    QCOMPARE(View().PickedWord(PickingMode::ByCaret), std::string("meeting"));
    QCOMPARE(View().CurrentPosition(PickingMode::ByCaret), meeting);

    // A selection: its start is the position, its text the picked word.
    QTextCursor select = View().textCursor();
    select.setPosition(View().document()->findBlockByNumber(2).position() + 7);
    select.setPosition(View().document()->findBlockByNumber(2).position() + 16, QTextCursor::KeepAnchor);
    View().setTextCursor(select);
    const int lineTwo = static_cast<int>(std::string(kEnglish1).size()) + 4;
    QCOMPARE(View().CurrentPosition(PickingMode::ByCaret), lineTwo + 7);
    QCOMPARE(View().PickedWord(PickingMode::ByCaret), std::string("paragraph"));
    QCOMPARE(View().PickedWord(PickingMode::ByMouse), std::string("paragraph"));

    // Right at the end goes on past it; the position stays the line's end. Left comes back.
    const int length = static_cast<int>(std::string(kEnglish2).size());
    View().SetCaretPoint({2, length});
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    QCOMPARE(View().CaretPoint(), (ViewPoint{2, length + 3}));
    QCOMPARE(View().VirtualColumns(), 3);
    QCOMPARE(View().CurrentPosition(PickingMode::ByCaret), lineTwo + length);
    QCOMPARE(View().WordAtCaret(), std::string());
    Key(Qt::Key_Left);
    QCOMPARE(View().CaretPoint(), (ViewPoint{2, length + 2}));
    Key(Qt::Key_Home);
    QCOMPARE(View().CaretPoint(), (ViewPoint{2, 0}));
    QCOMPARE(View().WordAtCaret(), std::string("Second"));

    // A click right of a line's end leaves the caret standing out there.
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, PastLineEnd(View(), 2, 4));
    QCOMPARE(View().CaretPoint(), (ViewPoint{2, length + 4}));
  }

  void rightClickMovesTheCaretBeforeTheMenuOpens() {
    Start();
    const int people = ColumnOf(View(), 0, "people");
    QTest::mousePress(View().viewport(), Qt::RightButton, {}, CellCentre(View(), 0, people) - QPoint(2, 0));
    QCOMPARE(View().CaretPoint(), (ViewPoint{0, people}));
    QTRY_VERIFY(window->SharedMenu().isVisible());
    QTest::mouseRelease(View().viewport(), Qt::RightButton, {}, CellCentre(View(), 0, people));
    window->SharedMenu().hide();
    QCOMPARE(View().WordAtCaret(), std::string("people"));
  }

  void f6FollowsTheWordUnderTheMouse() {
    Start();
    // Over an English word: the paragraph shows Chinese; the document's mode stays.
    PointAt(0, ColumnOf(View(), 0, "countries") + 2);
    Key(Qt::Key_F6);
    QCOMPARE(Line(0), Gbk(kChinese1));
    QCOMPARE(Line(2), std::string(kEnglish2));
    QCOMPARE(window->Document().mode(), DisplayMode::English);

    // Over the number 2012 in that Chinese paragraph: its English again.
    PointAt(0, ColumnOf(View(), 0, "2012") + 2);
    Key(Qt::Key_F6);
    QCOMPARE(Line(0), std::string(kEnglish1));

    // Over blank space right of an empty line: that line, and nothing changes.
    QTest::mouseMove(View().viewport(), PastLineEnd(View(), 1, 10));
    Key(Qt::Key_F6);
    QCOMPARE(View().Lines(), (LineList{kEnglish1, "", kEnglish2, ""}));
    // Over blank space right of a line: no word, so Chinese is wanted for that line.
    QTest::mouseMove(View().viewport(), PastLineEnd(View(), 2, 6));
    Key(Qt::Key_F6);
    QCOMPARE(Line(2), Gbk(kChinese2));
    QVERIFY(program->fixture.prompter.shown.empty());
  }

  void f6WithThePointerOutsideTheViewSwitchesTheParagraphAtTheCaret() {
    Start();
    View().SetCaretPoint({2, 2});
    PointOutside();
    Key(Qt::Key_F6);
    QCOMPARE(Line(2), Gbk(kChinese2));
    QCOMPARE(Line(0), std::string(kEnglish1));
    // The caret on that Chinese paragraph (its word starts with a Chinese byte): English.
    View().SetCaretPoint({2, 1});
    Key(Qt::Key_F6);
    QCOMPARE(Line(2), std::string(kEnglish2));
  }

  void f6InInterleavedModeShowsThePartnerTwice() {
    Start();
    Key(Qt::Key_F8);
    QCOMPARE(window->Document().mode(), DisplayMode::EnglishFirst);
    const LineList interleaved = {kEnglish1, Gbk(kChinese1), "", "", kEnglish2, Gbk(kChinese2), "", ""};
    QCOMPARE(View().Lines(), interleaved);
    PointAt(1, ColumnOf(View(), 1, "2012"));
    Key(Qt::Key_F6);
    QCOMPARE(Line(0), std::string(kEnglish1));
    QCOMPARE(Line(1), std::string(kEnglish1));
  }

  void f7AndF8SwitchTheWholeText() {
    Start();
    const LineList english = {kEnglish1, "", kEnglish2, ""};
    // F7 in an interleaved mode shows the English text.
    Key(Qt::Key_F8);
    Key(Qt::Key_F8);
    QCOMPARE(window->Document().mode(), DisplayMode::ChineseFirst);
    QCOMPARE(Line(0), Gbk(kChinese1));
    Key(Qt::Key_F7);
    QCOMPARE(window->Document().mode(), DisplayMode::English);
    QCOMPARE(View().Lines(), english);
    // F8 three times comes back to English.
    for (DisplayMode expected : {DisplayMode::EnglishFirst, DisplayMode::ChineseFirst, DisplayMode::English}) {
      Key(Qt::Key_F8);
      QCOMPARE(window->Document().mode(), expected);
      QCOMPARE(View().Lines(), window->Document().ViewLines());
    }
    QCOMPARE(View().Lines(), english);
    // The buttons and the menu do the same.
    window->Control(ShellCommand::SwitchWhole)->click();
    QCOMPARE(window->Document().mode(), DisplayMode::Chinese);
    window->Control(ShellCommand::SwitchParagraph)->click();  // the pointer is outside: the caret's line
    QCOMPARE(Line(0), std::string(kEnglish1));
  }

  void f6OnUnequalPartsGoesToTheErrorTrap() {
    Start();
    testing::RecordingTrap trap(program->fixture.prompter, program->fixture.options);
    program->folder.WriteGbk("text/uneven.txt", "One.\r\nTwo.\r\n***分割符***\r\n一。\r\n");
    window->OpenMaterial(program->folder.Path("text/uneven.txt"));
    QCOMPARE(View().Lines(), (LineList{"One.", "", "Two.", ""}));
    PointAt(2, 1);
    Key(Qt::Key_F6);
    QTRY_COMPARE(program->fixture.prompter.shown.size(), size_t{1});
    QVERIFY2(program->fixture.prompter.shown[0].text.starts_with("程序出现了错误，错误信息为：List index out of bounds (2)"),
             program->fixture.prompter.shown[0].text.c_str());
    QCOMPARE(Line(2), std::string("Two."));
    // The first paragraph has its partner.
    PointAt(0, 1);
    Key(Qt::Key_F6);
    QCOMPARE(Line(0), Gbk("一。"));
  }

  void f9PutsTheWordIntoTheNewWordBookAndTheLibraryBoxAtOnce() {
    Start();
    TForm_pop& battle = *program->windows.BattleWindow();
    const auto boxTexts = [&battle] {
      QStringList texts;
      for (int i = 0; i < battle.LibraryBox().count(); ++i) texts << battle.LibraryBox().itemText(i);
      return texts;
    };
    QCOMPARE(boxTexts(), (QStringList{"基础单词900个", "编辑下载更多词库……"}));

    PointAt(0, ColumnOf(View(), 0, "scientists") + 1);
    program->fixture.prompter.lines = {std::string("scientists=n. 科学家")};
    Key(Qt::Key_F9);
    QCOMPARE(program->fixture.prompter.asked,
             (std::vector<std::string>{"请输入单词的解释  |在等于号后面输入单词解释           |scientists="}));
    QCOMPARE(program->folder.Read("lib/生词本.ini"), Gbk("[word]\r\nscientists=n. 科学家\r\n"));
    QCOMPARE(boxTexts(), (QStringList{"基础单词900个", "生词本.ini", "编辑下载更多词库……"}));
    QCOMPARE(program->fixture.prompter.shown.back().caption, std::string("生词本"));
    QCOMPARE(program->fixture.prompter.shown.back().text,
             std::string("该单词已经被添加到了生词本内。你可以在背单词时选择或者重新选择使用生词本"));

    // The button, with the pointer outside the view: no word, nothing asked.
    PointOutside();
    window->Control(ShellCommand::NewWord)->click();
    QCOMPARE(program->fixture.prompter.asked.size(), size_t{1});
    // Again, declining the overwrite: the book stays as it is.
    program->fixture.prompter.lines = {std::string("scientists=科学家们")};
    program->fixture.prompter.answers = {Prompter::Answer::No};
    PointAt(0, ColumnOf(View(), 0, "scientists"));
    Key(Qt::Key_F9);
    QCOMPARE(program->fixture.prompter.shown.back().text, std::string("该单词已经存在生词本内。是否覆盖？"));
    QCOMPARE(program->folder.Read("lib/生词本.ini"), Gbk("[word]\r\nscientists=n. 科学家\r\n"));
    // With Yes the one line takes the new text; the entry is not listed twice.
    program->fixture.prompter.lines = {std::string("scientists=科学家们")};
    Key(Qt::Key_F9);
    QCOMPARE(program->folder.Read("lib/生词本.ini"), Gbk("[word]\r\nscientists=科学家们\r\n"));
    QCOMPARE(battle.LibraryBox().count(), 3);

    // A selection is offered whatever the pointer does.
    QTextCursor select = View().textCursor();
    select.setPosition(View().document()->findBlockByNumber(2).position());
    select.setPosition(View().document()->findBlockByNumber(2).position() + 6, QTextCursor::KeepAnchor);
    View().setTextCursor(select);
    PointOutside();
    program->fixture.prompter.lines = {std::nullopt};  // cancelled
    Key(Qt::Key_F9);
    QCOMPARE(program->fixture.prompter.asked.back(), std::string("请输入单词的解释  |在等于号后面输入单词解释           |Second="));
    QCOMPARE(program->folder.Read("lib/生词本.ini"), Gbk("[word]\r\nscientists=科学家们\r\n"));
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_READER_QTEST_MAIN(duvelin::ReadingViewTest)
#include "reading_view_qtest.moc"
