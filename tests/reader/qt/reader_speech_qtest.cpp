// Reading aloud in the real windows with voices that speak nothing: F5, F4 and F2 select what
// they read when the highlight is on and leave the view alone when it is off, the end of
// speech (which reaches the reader through the trainer's MSG_SPEECH_DONE) clears the
// highlight and the caption, Chinese goes to the trainer's voice, and "停止" silences both.
#include "reader/qt/reader_speech.h"
#include "reader/qt/reader_qtest_support.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/main_window.h"

#include <QAbstractButton>

namespace duvelin {
namespace {

using testing::FakeSpeechEngine;
using testing::Gbk;
using testing::ProgramWindows;

constexpr int kWaitMs = 10000;
constexpr char kEnglish[] = "Hello there. This is a test sentence! Last words";
constexpr char kChinese[] = "你好。这是测试句子！最后的话";

class ReaderSpeechTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramWindows> program;
  TForm1* window = nullptr;

  ReadingView& View() { return window->Reader(); }
  QString Caption() { return window->Control(ShellCommand::ReadWhole)->text(); }
  // The trainer's Chinese voice is made first, the battle window's English voice second.
  FakeSpeechEngine& ChineseVoice() { return *program->fixture.speech.voicesMade.at(0); }
  FakeSpeechEngine& EnglishVoice() { return *program->fixture.speech.voicesMade.at(1); }

  void Start(bool highlight) {
    program = std::make_unique<ProgramWindows>();
    program->folder.WriteGbk("dat/set.txt", std::string("quci_guangbiao=1\r\nlangdu_gaoliang=") + (highlight ? "1" : "0") + "\r\n");
    program->folder.WriteGbk("text/t.txt", std::string(kEnglish) + "\r\n\r\nSecond paragraph here.\r\n***分割符***\r\n" + kChinese +
                                       "\r\n\r\n第二段。\r\n");
    QVERIFY(program->windows.CreateAll().ok());
    window = program->windows.MainWindow();
    window->OpenMaterial(program->folder.Path("text/t.txt"));
    QCOMPARE(program->fixture.speech.voicesMade.size(), size_t{2});
    QCOMPARE(Caption(), FromUtf8("全文朗读"));
  }

  void CaretAt(int line, std::string_view text) {
    View().SetCaretPoint(ViewPoint{line, testing::ColumnOf(View(), line, text)});
  }

  // The voice ends its text; the end travels to the trainer and back to the reader.
  void FinishSpeech(FakeSpeechEngine& voice) {
    voice.FinishCurrent();
    QTRY_COMPARE_WITH_TIMEOUT(Caption(), FromUtf8("全文朗读"), kWaitMs);
  }

 private slots:
  void cleanup() {
    program.reset();
  }

  void sentenceIsSelectedWhileSpokenAndClearedAtItsEnd() {
    Start(true);
    CaretAt(0, "test");
    window->RunCommand(ShellCommand::ReadSentence);
    QCOMPARE(EnglishVoice().spoken.size(), size_t{1});
    QCOMPARE(FromGbk(EnglishVoice().spoken[0]).trimmed(), QStringLiteral("This is a test sentence!"));
    QVERIFY(ChineseVoice().spoken.empty());
    QCOMPARE(FromGbk(View().SelectedText()).trimmed(), QStringLiteral("This is a test sentence!"));
    QCOMPARE(Caption(), FromUtf8("停止"));
    FinishSpeech(EnglishVoice());
    QVERIFY(!View().HasSelection());
  }

  void readCommandsWithTheHighlightOnAndOff_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("spoken");
    const auto word = static_cast<int>(ShellCommand::ReadWord);
    const auto paragraph = static_cast<int>(ShellCommand::ReadParagraph);
    QTest::newRow("F2 on") << word << true << QStringLiteral("test") << QStringLiteral("test");
    QTest::newRow("F2 off") << word << false << QString() << QStringLiteral("test");
    QTest::newRow("F4 on") << paragraph << true << FromUtf8(kEnglish) << FromUtf8(kEnglish);
    QTest::newRow("F4 off") << paragraph << false << QString() << FromUtf8(kEnglish);
  }
  void readCommandsWithTheHighlightOnAndOff() {
    QFETCH(int, command);
    QFETCH(bool, highlight);
    QFETCH(QString, selected);
    QFETCH(QString, spoken);
    Start(highlight);
    CaretAt(0, "test");
    window->RunCommand(static_cast<ShellCommand>(command));
    QCOMPARE(EnglishVoice().spoken.size(), size_t{1});
    QCOMPARE(FromGbk(EnglishVoice().spoken[0]), spoken);
    QCOMPARE(FromGbk(View().SelectedText()), selected);
    FinishSpeech(EnglishVoice());
    QVERIFY(!View().HasSelection());
  }

  void chineseWordIsSpokenByTheChineseVoiceWithoutSelecting() {
    Start(true);
    window->RunCommand(ShellCommand::SwitchWhole);
    QVERIFY(window->Document().IsChineseShown());
    CaretAt(0, "测试");
    window->RunCommand(ShellCommand::ReadWord);
    QCOMPARE(ChineseVoice().spoken.size(), size_t{1});
    // The word the view picks there (the view's own picking rules), in Chinese.
    const QString word = FromGbk(ChineseVoice().spoken[0]);
    QVERIFY(!word.isEmpty() && FromUtf8(kChinese).contains(word));
    QVERIFY(EnglishVoice().spoken.empty());
    QVERIFY(!View().HasSelection());
    FinishSpeech(ChineseVoice());
  }

  void aSelectionIsReadAsItIsAndKept() {
    Start(true);
    CaretAt(0, "there");
    QTextCursor cursor = View().textCursor();
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 5);
    View().setTextCursor(cursor);
    window->RunCommand(ShellCommand::ReadWord);
    QCOMPARE(EnglishVoice().spoken, std::vector<std::string>{"there"});
    QCOMPARE(FromGbk(View().SelectedText()), QStringLiteral("there"));
  }

  void stopSilencesBothVoices() {
    Start(true);
    window->RunCommand(ShellCommand::ReadWhole);
    QCOMPARE(EnglishVoice().spoken.size(), size_t{1});
    QVERIFY(FromGbk(EnglishVoice().spoken[0]).startsWith(FromUtf8(kEnglish)));
    QCOMPARE(Caption(), FromUtf8("停止"));
    // A Chinese text queued meanwhile goes as well.
    window->RunCommand(ShellCommand::SwitchWhole);
    CaretAt(0, "测试");
    window->RunCommand(ShellCommand::ReadWord);
    QVERIFY(ChineseVoice().IsSpeaking());
    window->RunCommand(ShellCommand::ReadWhole);
    QCOMPARE(EnglishVoice().stops, 1);
    QCOMPARE(ChineseVoice().stops, 1);
    QVERIFY(!EnglishVoice().IsSpeaking());
    QVERIFY(!ChineseVoice().IsSpeaking());
    QCOMPARE(Caption(), FromUtf8("全文朗读"));
  }

  void readAllInChineseUsesTheChineseVoice() {
    Start(true);
    window->RunCommand(ShellCommand::SwitchWhole);
    window->RunCommand(ShellCommand::ReadWhole);
    QCOMPARE(ChineseVoice().spoken.size(), size_t{1});
    QVERIFY(FromGbk(ChineseVoice().spoken[0]).startsWith(FromUtf8(kChinese)));
    QVERIFY(EnglishVoice().spoken.empty());
    FinishSpeech(ChineseVoice());
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_READER_QTEST_MAIN(duvelin::ReaderSpeechTest)
#include "reader_speech_qtest.moc"
