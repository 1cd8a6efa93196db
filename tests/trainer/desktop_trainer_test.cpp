// The desktop word trainer on a manual scheduler with fake voices: the options file, the word
// cycle and its speech chain, the short meaning, pause and resume, the window's states and the
// menu commands.
#include <gtest/gtest.h>

#include "battle/fake_opener.h"
#include "common/gbk_text.h"
#include "common/line_list.h"
#include "speech/fake_speech_engine.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/manual_scheduler.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"
#include "trainer/desktop_trainer.h"
#include "trainer/reading_voices.h"

namespace duvelin {
namespace {

using namespace duvelin::testing;

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// The English pronunciation: records words; each ends when the test says so.
class FakePronouncer : public WordPronouncer {
 public:
  void PronounceWord(const std::string& text) override {
    words.push_back(text);
    ++speaking;
  }
  std::vector<std::string> words;
  int speaking = 0;
};

class FakeDisplay : public TrainerDisplay {
 public:
  void ShowWord(const std::string& english, const std::string& chinese) override { shown.push_back({english, chinese}); }
  std::vector<std::pair<std::string, std::string>> shown;
};

// Posts private messages the way the window's event queue would: later, on the scheduler.
class RoutingPoster : public MessagePoster {
 public:
  explicit RoutingPoster(ManualScheduler& scheduler) : m_scheduler(scheduler) {}
  void Post(MessageTarget target, PrivateMessage message) override {
    posted.emplace_back(target, message);
    if (target == MessageTarget::Trainer && message.number == MSG_SPEECH_DONE)
      m_scheduler.Post([this, message] {
        if (trainer) trainer->OnSpeechDone(message.wParam);
      });
  }
  DesktopTrainer* trainer = nullptr;
  std::vector<std::pair<MessageTarget, PrivateMessage>> posted;

 private:
  ManualScheduler& m_scheduler;
};

struct Speech {
  std::string voice;  // "cn" for the Chinese voice, "en" for the English pronunciation
  std::string text;   // GBK
  bool operator==(const Speech&) const = default;
};

class DesktopTrainerTest : public ::testing::Test {
 protected:
  DesktopTrainerTest() {
    folder.Write("dat/set.txt", "");
    folder.Write("Lib/t.ini", JoinLinesCrLf({Gbk("apple=苹果"), Gbk("study=n. 学习 研究"), Gbk("go=去")}));
    words.SetModes({false, true, 0});
    EXPECT_TRUE(words.OpenLibraryFile(folder.path() / "Lib" / "t.ini", "t.ini.abhs").ok());
  }

  void Create(std::vector<VoiceToken> voices = FakeSpeechEngine::DefaultVoices()) {
    chinese = std::make_unique<FakeSpeechEngine>([this](MainThreadTask task) { scheduler.Post(std::move(task)); },
                                                 std::move(voices));
    trainer = std::make_unique<DesktopTrainer>(ProgramFolder(folder.path()), scheduler, *chinese, english, words,
                                               display, poster, prompter, tipsRandom, options);
    poster.trainer = trainer.get();
    trainer->SetEndOfReadingHandler([this] { ++endsOfReading; });
    trainer->SetTipsPageHandler([this] { ++tipsPages; });
  }

  // Ends whatever speaks, one speech at a time, until nothing does; returns the speeches that
  // started meanwhile (including those already running), in order.
  std::vector<Speech> RunChain() {
    std::vector<Speech> speeches;
    for (;;) {
      scheduler.RunPosted();
      Collect(speeches);
      if (chinese->Queued() > 0) {
        chinese->FinishCurrent();
      } else if (english.speaking > 0) {
        --english.speaking;
        poster.Post(MessageTarget::Trainer, PrivateMessage{MSG_SPEECH_DONE, SPEECH_DONE_WPARAM, 0});
      } else {
        return speeches;
      }
    }
  }
  void Collect(std::vector<Speech>& speeches) {
    // One voice speaks at a time in the chain, so the order of starts is kept.
    for (; m_seenChinese < chinese->spoken.size(); ++m_seenChinese) speeches.push_back({"cn", chinese->spoken[m_seenChinese]});
    for (; m_seenEnglish < english.words.size(); ++m_seenEnglish) speeches.push_back({"en", english.words[m_seenEnglish]});
  }
  size_t Shown() const { return display.shown.size(); }

  TempFolder folder;
  ManualScheduler scheduler;
  FakePrompter prompter;
  FakeClock clock;
  ScriptedRandom pickerRandom, tipsRandom;
  FakeOpener opener;
  WordLibraryState words{ProgramFolder(folder.path()), prompter, clock, pickerRandom, opener};
  FakePronouncer english;
  FakeDisplay display;
  RoutingPoster poster{scheduler};
  GeneralOptions options;
  std::unique_ptr<FakeSpeechEngine> chinese;
  std::unique_ptr<DesktopTrainer> trainer;
  int endsOfReading = 0;
  int tipsPages = 0;

 private:
  size_t m_seenChinese = 0, m_seenEnglish = 0;
};

TEST_F(DesktopTrainerTest, OptionsFileIsReadAndWrittenInItsOrder) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    std::array<bool, 4> on;
  };
  const Case cases[] = {
      {"missing file: all on", std::nullopt, {true, true, true, true}},
      {"exactly 1 is on", "spk_char=1\r\nspk_word=0\r\nSPK_CN=1\r\nspk_all_cn=yes\r\n", {true, false, true, false}},
      {"missing keys are off", "spk_cn=1\r\n", {false, false, true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder.path() / "dat" / "tts_cn.dat");
    if (c.file) folder.Write("dat/tts_cn.dat", *c.file);
    const TrainerOptions loaded = TrainerOptions::Load(ProgramFolder(folder.path()));
    const TrainerOption all[] = {TrainerOption::SpeakLetters, TrainerOption::SpeakWord, TrainerOption::SpeakChinese,
                                 TrainerOption::WholeChinese};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(loaded.IsOn(all[i]), c.on[i]) << i;
  }

  std::filesystem::remove(folder.path() / "dat" / "tts_cn.dat");
  Create();
  ASSERT_TRUE(trainer->ToggleOption(TrainerOption::SpeakWord).ok());
  EXPECT_EQ(folder.Read("dat/tts_cn.dat"), "spk_char=1\r\nspk_word=0\r\nspk_cn=1\r\nspk_all_cn=1\r\n");
  ASSERT_TRUE(trainer->ToggleOption(TrainerOption::WholeChinese).ok());
  EXPECT_EQ(folder.Read("dat/tts_cn.dat"), "spk_char=1\r\nspk_word=0\r\nspk_cn=1\r\nspk_all_cn=0\r\n");
  EXPECT_FALSE(trainer->Options().IsOn(TrainerOption::WholeChinese));
}

TEST_F(DesktopTrainerTest, EachWordIsFollowedByThreeSpeechesAndAPauseOf20Ticks) {
  Create();
  EXPECT_TRUE(trainer->HasChineseVoice());
  EXPECT_EQ(chinese->Voice(), 1u) << "the first voice with Language 804";
  trainer->Show();
  scheduler.Advance(100);
  ASSERT_EQ(Shown(), 1u);
  EXPECT_EQ(display.shown[0], std::make_pair(std::string("apple"), Gbk("苹果")));
  EXPECT_FALSE(trainer->IsCycleRunning());

  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"cn", "apple"}, {"en", "apple"}, {"cn", Gbk("苹果")}}));
  EXPECT_TRUE(trainer->IsCycleRunning());
  EXPECT_EQ(trainer->Countdown(), 20);
  scheduler.Advance(2000);
  EXPECT_EQ(Shown(), 1u) << "20 ticks of pause";
  scheduler.Advance(100);
  ASSERT_EQ(Shown(), 2u);
  EXPECT_EQ(display.shown[1].second, Gbk("n. 学习 研究"));
  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"cn", "study"}, {"en", "study"}, {"cn", Gbk("n. 学习 研究")}}));
  EXPECT_EQ(endsOfReading, 6);
}

TEST_F(DesktopTrainerTest, WithoutWholeChineseTheMeaningIsCut) {
  folder.Write("dat/tts_cn.dat", "spk_char=1\r\nspk_word=1\r\nspk_cn=1\r\nspk_all_cn=0\r\n");
  words.Picker().SetSequentialPosition(1);
  Create();
  trainer->Show();
  scheduler.Advance(100);
  ASSERT_EQ(Shown(), 1u);
  EXPECT_EQ(display.shown[0].second, Gbk("n. 学习 研究")) << "the label keeps the whole meaning";
  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"cn", "study"}, {"en", "study"}, {"cn", "n."}}));
}

TEST_F(DesktopTrainerTest, ShortMeaning) {
  const std::pair<std::string, std::string> cases[] = {
      {Gbk("n. 学习 研究"), "n."},
      {Gbk("学习，研究，调查"), Gbk("学习")},
      {Gbk("学习研究"), Gbk("学习研究")},  // 8 bytes: spoken whole
      {Gbk("v. 去"), Gbk("v. 去")},
      {Gbk(" 开头是空格的意思"), ""},     // cut at the first character: nothing
      {Gbk("没有任何分隔的长意思"), Gbk("没有任何分隔的长意思")},
      {Gbk("学习 研究，调查"), Gbk("学习")},  // a blank before the comma wins
      // B0 A3 and AC A1 are two characters; the bytes A3 AC between them are no comma.
      {"\xB0\xA3\xAC\xA1\xB0\xA3\xAC\xA1\xB0\xA3", "\xB0\xA3\xAC\xA1\xB0\xA3\xAC\xA1\xB0\xA3"},
  };
  for (const auto& [meaning, spoken] : cases)
    EXPECT_EQ(DesktopTrainer::ShortMeaning(meaning), spoken) << GbkToUtf8(meaning);
}

TEST_F(DesktopTrainerTest, PausingLetsTheCurrentChainFinishAndResumingWaitsForTheCountdown) {
  Create();
  EXPECT_EQ(trainer->PauseCaption(), "暂停");
  trainer->Show();
  scheduler.Advance(100);
  trainer->TogglePause();
  EXPECT_EQ(trainer->PauseCaption(), "继续朗读");
  EXPECT_EQ(RunChain().size(), 3u);
  scheduler.Advance(10000);
  EXPECT_EQ(Shown(), 1u);
  EXPECT_EQ(trainer->Countdown(), 20);

  trainer->TogglePause();
  scheduler.Advance(2000);
  EXPECT_EQ(Shown(), 1u);
  scheduler.Advance(100);
  EXPECT_EQ(Shown(), 2u);
}

TEST_F(DesktopTrainerTest, WithoutAChineseVoiceOnlyTheEnglishWordIsSpoken) {
  Create({{"English (America)", "409"}, {"Chinese (Cantonese)", "c04"}});
  EXPECT_FALSE(trainer->HasChineseVoice());
  EXPECT_EQ(trainer->ChineseOptionCaption(), "中文朗读引擎不存在");
  trainer->Show();
  scheduler.Advance(100);
  // Nothing else would end, so the English word starts at once.
  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"en", "apple"}}));
  EXPECT_EQ(trainer->Countdown(), 20);
  trainer->SpeakChinese(Gbk("你好"));
  EXPECT_TRUE(chinese->spoken.empty());
}

TEST_F(DesktopTrainerTest, WithLettersOffTheEnglishWordStartsAtOnce) {
  folder.Write("dat/tts_cn.dat", "spk_char=0\r\nspk_word=1\r\nspk_cn=1\r\nspk_all_cn=1\r\n");
  Create();
  EXPECT_EQ(trainer->ChineseOptionCaption(), "朗读中文");
  trainer->Show();
  scheduler.Advance(100);
  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"en", "apple"}, {"cn", Gbk("苹果")}}));
}

TEST_F(DesktopTrainerTest, ChineseSpeakingOffAtCreationStaysOff) {
  folder.Write("dat/tts_cn.dat", "spk_char=1\r\nspk_word=1\r\nspk_cn=0\r\nspk_all_cn=1\r\n");
  Create();
  ASSERT_TRUE(trainer->ToggleOption(TrainerOption::SpeakChinese).ok());
  trainer->Show();
  scheduler.Advance(100);
  EXPECT_EQ(RunChain(), (std::vector<Speech>{{"cn", "apple"}, {"en", "apple"}}));
}

TEST_F(DesktopTrainerTest, WindowStatesDecideWhetherTheCycleGoesOn) {
  Create();
  // Closed: an end of speech (from the reader, say) clears the reading and starts nothing.
  trainer->OnSpeechDone(SPEECH_DONE_WPARAM);
  EXPECT_EQ(endsOfReading, 1);
  EXPECT_FALSE(trainer->IsCycleRunning());

  trainer->Show();
  trainer->Hide();
  EXPECT_EQ(trainer->WindowState(), TrainerWindowState::Hidden);
  scheduler.Advance(100);
  EXPECT_EQ(Shown(), 1u);
  RunChain();
  EXPECT_TRUE(trainer->IsCycleRunning()) << "hidden, the cycle keeps running";

  trainer->Close();
  EXPECT_FALSE(trainer->IsCycleRunning());
  scheduler.Advance(10000);
  EXPECT_EQ(Shown(), 1u);
}

TEST_F(DesktopTrainerTest, OtherMessagesOnlyEndTheReading) {
  Create();
  trainer->Show();
  scheduler.Advance(100);
  trainer->OnSpeechDone(7);
  EXPECT_EQ(endsOfReading, 1);
  EXPECT_EQ(trainer->PendingEnglish(), "apple");
  EXPECT_TRUE(english.words.empty());
}

TEST_F(DesktopTrainerTest, CloseForThisRunShowsItsNoticeAndSwitchesTheOptionOff) {
  options.desktop_word = 1;
  Create();
  trainer->Show();
  trainer->CloseForThisRun();
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "您临时关闭了桌面背单词窗口，可以在“游戏设置”界面内选择是否关闭或开启此窗口。");
  EXPECT_EQ(prompter.shown[0].caption, "提示");
  EXPECT_EQ(options.desktop_word, 0);
  EXPECT_EQ(trainer->WindowState(), TrainerWindowState::Closed);
  EXPECT_FALSE(trainer->IsCycleRunning());
  EXPECT_EQ(folder.Read("dat/set.txt"), "") << "the settings file keeps its value";
}

TEST_F(DesktopTrainerTest, ShowGameWindowPostsTheTrayClick) {
  Create();
  trainer->ShowGameWindow();
  ASSERT_EQ(poster.posted.size(), 1u);
  EXPECT_EQ(poster.posted[0].first, MessageTarget::MainWindow);
  EXPECT_EQ(poster.posted[0].second, (PrivateMessage{MSG_TRAY_NOTIFY, 0, 513}));
}

TEST_F(DesktopTrainerTest, TipsPageFollowsAWordWithProbabilityOneThird) {
  Create();
  tipsRandom.values = {0, 1, 2, 3};
  trainer->Show();
  for (int word = 0; word < 4; ++word) {
    scheduler.Advance(2100);
    RunChain();
  }
  EXPECT_EQ(tipsPages, 2);  // draws 0 and 3 (mod 3) hit
}

TEST_F(DesktopTrainerTest, EntriesWithoutEqualsAndLongMeanings) {
  const std::string longMeaning(300, 'm');
  folder.Write("Lib/t.ini", JoinLinesCrLf({Gbk("只有中文没有等号"), "word=" + longMeaning, "x=y"}));
  ASSERT_TRUE(words.OpenLibraryFile(folder.path() / "Lib" / "t.ini", "t.ini.abhs").ok());
  Create();
  trainer->Show();
  scheduler.Advance(100);
  EXPECT_EQ(display.shown[0], std::make_pair(std::string(), Gbk("只有中文没有等号")));
  RunChain();
  scheduler.Advance(2100);
  ASSERT_EQ(Shown(), 2u);
  EXPECT_EQ(display.shown[1].second, std::string(255, 'm'));
}

TEST_F(DesktopTrainerTest, ChineseVoiceForTheReader) {
  Create();
  trainer->SpeakChinese(Gbk("你好"));
  EXPECT_EQ(chinese->spoken, std::vector<std::string>{Gbk("你好")});
  trainer->StopChinese();
  EXPECT_EQ(chinese->stops, 1);
  // Its end advances the trainer like any other.
  scheduler.RunPosted();
  EXPECT_EQ(endsOfReading, 1);
}

TEST_F(DesktopTrainerTest, ReaderVoicesAreTheServiceAndTheTrainer) {
  Create();
  FakeSpeechEngine englishVoice([this](MainThreadTask task) { scheduler.Post(std::move(task)); });
  bool enabled = true;
  TrainerReadingVoices voices(english, englishVoice, *trainer, [&] { return enabled; });
  voices.PronounceEnglish("Hello there.");
  voices.SpeakChinese(Gbk("你好"));
  EXPECT_EQ(english.words, std::vector<std::string>{"Hello there."});
  EXPECT_EQ(chinese->spoken, std::vector<std::string>{Gbk("你好")});
  EXPECT_TRUE(voices.EnglishReadAloudEnabled());
  enabled = false;
  EXPECT_FALSE(voices.EnglishReadAloudEnabled());
  voices.StopBothVoices();
  EXPECT_EQ(englishVoice.stops, 1);
  EXPECT_EQ(chinese->stops, 1);
}

}  // namespace
}  // namespace duvelin
