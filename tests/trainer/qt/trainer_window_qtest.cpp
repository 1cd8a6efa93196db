// The desktop word trainer's window among the real windows, with voices that speak nothing:
// its place, labels and menu; one word's chain of speeches carried by MSG_SPEECH_DONE through
// the window (letters, the English word through the battle window's pronunciation, the
// meaning) and the pause after it; the options file; pause; "关闭本窗口"; and the menu without
// a Chinese voice.
#include "trainer/qt/trainer_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "common/qt/qt_text.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/shell_qtest_support.h"

namespace duvelin {
namespace {

using testing::FakeSpeechEngine;
using testing::ProgramWindows;

constexpr int kWaitMs = 10000;

class TrainerWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramWindows> program;
  TForm_chinese* window = nullptr;

  FakeSpeechEngine& ChineseVoice() { return *program->fixture.speech.voicesMade.at(0); }
  FakeSpeechEngine& EnglishVoice() { return *program->fixture.speech.voicesMade.at(1); }
  DesktopTrainer& Trainer() { return *window->Trainer(); }

  void Start(std::vector<VoiceToken> voices = FakeSpeechEngine::DefaultVoices()) {
    program = std::make_unique<ProgramWindows>();
    program->folder.CopyBundled("dat/set.txt");
    // One word three times (fewer lines would be padded), so the word shown is known.
    program->folder.WriteGbk("words.ini", "apple=n. 苹果 水果\r\napple=n. 苹果 水果\r\napple=n. 苹果 水果\r\n");
    program->fixture.speech.voiceTokens = std::move(voices);
    QVERIFY(program->windows.CreateAll().ok());
    window = program->windows.Trainer();
    QVERIFY(window->Trainer());
  }

  QAction* MenuItem(std::string_view caption) {
    for (QAction* action : window->Menu().actions())
      if (action->text() == FromUtf8(caption)) return action;
    return nullptr;
  }

  std::vector<std::string> MenuCaptions() {
    std::vector<std::string> captions;
    for (QAction* action : window->Menu().actions())
      captions.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return captions;
  }

 private slots:
  void cleanup() {
    program.reset();
  }

  void windowAndMenuAsDesigned() {
    Start();
    QCOMPARE(window->geometry(), QRect(kTrainerLeft, kTrainerTop, kTrainerWidth, kTrainerHeight));
    QCOMPARE(window->windowTitle(), FromUtf8("不知不觉背单词"));
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window->EnglishLabel().font().pixelSize(), 24);
    QCOMPARE(window->ChineseLabel().font().pixelSize(), 19);
    QCOMPARE(window->MenuButton().text(), FromUtf8("菜单"));
    const std::vector<std::string> expected = {"显示游戏窗口", "隐藏窗口(继续朗读)", "关闭本窗口", "英文朗读引擎设置", "-",
                                               "朗读字母", "朗读单词", "朗读中文", "中文整句朗读", "-", "暂停"};
    QCOMPARE(MenuCaptions(), expected);
    for (std::string_view option : {"朗读字母", "朗读单词", "朗读中文", "中文整句朗读"}) {
      QVERIFY(MenuItem(option)->isCheckable());
      QVERIFY(MenuItem(option)->isChecked());
    }
  }

  void withoutAChineseVoiceTheMenuSaysSo() {
    Start({{"English (America)", kEnglishLanguageCode}});
    QVERIFY(!Trainer().HasChineseVoice());
    QVERIFY(MenuItem("中文朗读引擎不存在"));
    QVERIFY(!MenuItem("朗读中文"));
  }

  void oneWordIsShownAndSpokenThreeTimesThenPauses() {
    Start();
    window->show();
    QTRY_COMPARE_WITH_TIMEOUT(window->EnglishLabel().text(), QStringLiteral("apple"), kWaitMs);
    QCOMPARE(window->ChineseLabel().text(), FromUtf8("n. 苹果 水果"));
    // The letters, by the Chinese voice.
    QCOMPARE(ChineseVoice().spoken, std::vector<std::string>{"apple"});
    ChineseVoice().FinishCurrent();
    // The word, through the battle window's pronunciation (online sound is off: its voice).
    QTRY_COMPARE_WITH_TIMEOUT(EnglishVoice().spoken, std::vector<std::string>{"apple"}, kWaitMs);
    EnglishVoice().FinishCurrent();
    // The whole meaning ("中文整句朗读" is on).
    QTRY_COMPARE_WITH_TIMEOUT(ChineseVoice().spoken.size(), size_t{2}, kWaitMs);
    QCOMPARE(ChineseVoice().spoken[1], Utf8ToGbk("n. 苹果 水果"));
    QVERIFY(!Trainer().IsCycleRunning());
    ChineseVoice().FinishCurrent();
    QTRY_VERIFY_WITH_TIMEOUT(Trainer().IsCycleRunning(), kWaitMs);
    QVERIFY(Trainer().Countdown() > 0 && Trainer().Countdown() <= kTrainerPauseTicks);
    QCOMPARE(EnglishVoice().spoken.size(), size_t{1});
  }

  void anOptionClickIsStoredAndPauseShowsTheNextAction() {
    Start();
    MenuItem("朗读字母")->trigger();
    QVERIFY(!MenuItem("朗读字母")->isChecked());
    QCOMPARE(program->folder.Read("dat/tts_cn.dat"), std::string("spk_char=0\r\nspk_word=1\r\nspk_cn=1\r\nspk_all_cn=1\r\n"));
    MenuItem("暂停")->trigger();
    QVERIFY(Trainer().IsPaused());
    QVERIFY(MenuItem("继续朗读"));
    MenuItem("继续朗读")->trigger();
    QVERIFY(!Trainer().IsPaused());
  }

  void closingForThisRunTellsOnceAndSwitchesTheTrainerOff() {
    Start();
    program->fixture.options.general.desktop_word = 1;
    window->show();
    QVERIFY(window->isVisible());
    MenuItem("关闭本窗口")->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(program->fixture.prompter.shown.size(), size_t{1});
    QCOMPARE(program->fixture.prompter.shown[0].caption, std::string("提示"));
    QCOMPARE(program->fixture.options.general.desktop_word, uint8_t{0});
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Closed);
    QVERIFY(!Trainer().IsCycleRunning());
    // The settings file keeps its value.
    QVERIFY(program->folder.Read("dat/set.txt").find("desktop_word=1") != std::string::npos);
  }

  void hidingKeepsTheCycleGoing() {
    Start();
    window->show();
    MenuItem("隐藏窗口(继续朗读)")->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(Trainer().WindowState(), TrainerWindowState::Hidden);
    QTRY_COMPARE_WITH_TIMEOUT(ChineseVoice().spoken.size(), size_t{1}, kWaitMs);
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::TrainerWindowTest)
#include "trainer_window_qtest.moc"
