// The program's own voices in the real windows: espeak-ng speaking through libmpv (the audio
// output "null", which plays in real time without a device). F5 in an English text and F2 on
// a Chinese word are really spoken, and the end of each speech comes back through the
// trainer's MSG_SPEECH_DONE and ends the reading in the main window.
#include <QAbstractButton>

#include "battle/pronunciation.h"
#include "battle/qt/battle_window.h"
#include "common/qt/qt_text.h"
#include "reader/qt/reading_view.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/main_window.h"
#include "shell/qt/program_speech_devices.h"
#include "shell_qtest_support.h"
#include "trainer/qt/trainer_window.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::ServiceFixture;

constexpr int kSpeechWaitMs = 30000;

class RealSpeechTest : public QObject {
  Q_OBJECT

 private slots:
  void englishAndChineseAreSpokenAndTheirEndsReachTheReader() {
    qputenv("DUVELIN_AUDIO_OUTPUT", "null");
    ProgramFolderFixture folder;
    folder.WriteGbk("dat/set.txt", "quci_guangbiao=1\r\nlangdu_gaoliang=1\r\n");
    folder.CopyBundled("words.ini");
    folder.WriteGbk("text/t.txt", "One two. Three four five.\r\n***分割符***\r\n一二。三四五。\r\n");
    ServiceFixture fixture(folder.Folder());
    ProgramSpeechDevices devices;
    ShellServices services{fixture.prompter, fixture.poster, fixture.scheduler, fixture.random, fixture.options,
                           folder.Folder(), fixture.voices, devices};
    ApplicationWindows windows(services);
    QVERIFY(windows.CreateAll().ok());
    TForm1& main = *windows.MainWindow();
    main.OpenMaterial(folder.Path("text/t.txt"));
    QAbstractButton* readAll = main.Control(ShellCommand::ReadWhole);
    SpeechEngine& english = windows.BattleWindow()->Pronouncer()->EnglishVoice();
    QVERIFY(!english.Voices().empty());

    main.Reader().SetCaretPoint(ViewPoint{0, 12});
    main.RunCommand(ShellCommand::ReadSentence);
    QVERIFY(english.IsSpeaking());
    QCOMPARE(FromGbk(main.Reader().SelectedText()).trimmed(), QStringLiteral("Three four five."));
    QCOMPARE(readAll->text(), FromUtf8("停止"));
    QTRY_COMPARE_WITH_TIMEOUT(readAll->text(), FromUtf8("全文朗读"), kSpeechWaitMs);
    QVERIFY(!main.Reader().HasSelection());
    QVERIFY(!english.IsSpeaking());

    // espeak-ng's Mandarin voice is the trainer's Chinese voice.
    QVERIFY(windows.Trainer()->Trainer()->HasChineseVoice());
    main.RunCommand(ShellCommand::SwitchWhole);
    main.Reader().SetCaretPoint(ViewPoint{0, 4});
    main.RunCommand(ShellCommand::ReadWord);
    QCOMPARE(readAll->text(), FromUtf8("停止"));
    QVERIFY(!english.IsSpeaking());
    QTRY_COMPARE_WITH_TIMEOUT(readAll->text(), FromUtf8("全文朗读"), kSpeechWaitMs);
    QVERIFY(fixture.prompter.shown.empty());
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::RealSpeechTest)
#include "real_speech_qtest.moc"
