// Speech reading in the reader with a fake view and fake voices: what F2, F5, F4 and read all
// speak and with which voice, the highlight as a selection, its end, and the caption.
#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "reader/speech_reading.h"

namespace duvelin {
namespace {

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

class FakeView : public SpeechReadingView {
 public:
  void SelectSpan(TextSpan span) override {
    selections.push_back(span);
    selection = span;
  }
  void CollapseSelection() override {
    ++collapses;
    selection.length = 0;
  }
  void SetReadAllCaption(std::string_view text) override { caption = std::string(text); }

  std::vector<TextSpan> selections;
  TextSpan selection;
  int collapses = 0;
  std::string caption = "全文朗读";
};

class FakeVoices : public ReadingVoices {
 public:
  bool EnglishReadAloudEnabled() const override { return enabled; }
  void PronounceEnglish(const std::string& text) override { english.push_back(text); }
  void SpeakChinese(const std::string& text) override { chinese.push_back(text); }
  void StopBothVoices() override { ++stops; }

  bool enabled = true;
  std::vector<std::string> english, chinese;
  int stops = 0;
};

class SpeechReadingTest : public ::testing::Test {
 protected:
  SpeechReadingTest() {
    options.langdu_gaoliang = 1;
    document.Refill("He met Mr. Smith. Then he left.\r\n\r\nA word here 2012.",
                    Gbk("他见了史密斯先生。然后他走了。\r\n\r\n这里有一个词。"));
  }

  GeneralOptions options;
  Tcnen_reader document;
  FakeView view;
  FakeVoices voices;
  SpeechReading reading{document, view, voices, options};
};

TEST_F(SpeechReadingTest, ReadSentenceSelectsExactlyTheSentenceUntilTheEndOfSpeech) {
  reading.ReadSentence(20);  // inside "Then"
  EXPECT_EQ(voices.english, std::vector<std::string>{" Then he left."}) << "a leading blank counts as English";
  ASSERT_EQ(view.selections.size(), 1u);
  EXPECT_EQ(view.selections[0], (TextSpan{17, 14}));
  EXPECT_EQ(view.caption, "停止");
  EXPECT_TRUE(reading.IsReading());

  reading.ReadSentence(5);  // queued behind, nothing interrupted
  EXPECT_EQ(voices.english.back(), "He met Mr. Smith.");
  EXPECT_EQ(view.selection, (TextSpan{0, 17}));
  EXPECT_EQ(voices.stops, 0);

  reading.EndOfReading();
  EXPECT_EQ(view.selection.length, 0);
  EXPECT_EQ(view.caption, "全文朗读");
  EXPECT_FALSE(reading.IsReading());
}

TEST_F(SpeechReadingTest, ReadWord) {
  struct Case {
    const char* name;
    std::int32_t position;
    std::string picked;
    TextSelected selection;
    std::vector<std::string> english, chinese;
    std::vector<TextSpan> selections;
  };
  const Case cases[] = {
      {"English word without a selection is highlighted", 37, "word", TextSelected::No, {"word"}, {}, {{37, 4}}},
      {"a number is English and highlighted", 47, "2012", TextSelected::No, {"2012"}, {}, {{47, 4}}},
      {"a selection is read as it is and not changed", 37, "word here", TextSelected::Yes, {"word here"}, {}, {}},
      {"a Chinese word goes to the Chinese voice, unselected", 37, Gbk("单词"), TextSelected::No, {}, {Gbk("单词")}, {}},
      {"an empty word does nothing", 37, "", TextSelected::No, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeView caseView;
    FakeVoices caseVoices;
    SpeechReading caseReading(document, caseView, caseVoices, options);
    caseReading.ReadWord(c.position, c.picked, c.selection);
    EXPECT_EQ(caseVoices.english, c.english);
    EXPECT_EQ(caseVoices.chinese, c.chinese);
    EXPECT_EQ(caseView.selections, c.selections);
    EXPECT_EQ(caseView.caption, c.picked.empty() ? "全文朗读" : "停止");
  }
}

TEST_F(SpeechReadingTest, ReadParagraph) {
  reading.ReadParagraph(3);
  EXPECT_EQ(voices.english, std::vector<std::string>{"He met Mr. Smith. Then he left."});
  EXPECT_EQ(view.selections, std::vector<TextSpan>{TextSpan(0, 31)});

  // The empty line between paragraphs: nothing is spoken, but the caption says "停止".
  reading.EndOfReading();
  reading.ReadParagraph(33);
  EXPECT_EQ(voices.english.size(), 1u);
  EXPECT_EQ(view.caption, "停止");
}

TEST_F(SpeechReadingTest, ChineseShownSentencesGoToTheChineseVoice) {
  document.ToggleWhole();
  reading.ReadSentence(2);
  ASSERT_EQ(voices.chinese.size(), 1u);
  EXPECT_EQ(voices.chinese[0], Gbk("他见了史密斯先生。然后他走了。")) << "full-width marks end no sentence";
  EXPECT_TRUE(voices.english.empty());
}

TEST_F(SpeechReadingTest, WithHighlightingOffNothingIsSelected) {
  options.langdu_gaoliang = 0;
  reading.ReadSentence(20);
  reading.ReadParagraph(3);
  reading.ReadWord(37, "word", TextSelected::No);
  EXPECT_TRUE(view.selections.empty());
  EXPECT_EQ(voices.english.size(), 3u);
  reading.EndOfReading();
  EXPECT_EQ(view.collapses, 0);
  EXPECT_EQ(view.caption, "全文朗读");
}

TEST_F(SpeechReadingTest, EnglishIsSilentWhileTheBattleWindowDisablesReadingAloud) {
  voices.enabled = false;
  reading.ReadSentence(20);
  EXPECT_EQ(view.caption, "停止");
  reading.EndOfReading();
  reading.ReadAllOrStop();  // read all, in English mode
  EXPECT_TRUE(voices.english.empty());
  EXPECT_EQ(view.caption, "停止");
  reading.ReadWord(37, Gbk("单词"), TextSelected::No);
  EXPECT_EQ(voices.chinese.size(), 1u);
}

TEST_F(SpeechReadingTest, ReadAllReadsOneLanguageAndStopSilencesBothVoices) {
  const std::pair<int, bool> modes[] = {{0, false}, {1, true}, {2, false}, {3, false}};
  for (const auto& [mode, chinese] : modes) {
    SCOPED_TRACE(mode);
    Tcnen_reader shown;
    shown.Refill(document.EnglishText(), document.ChineseText());
    if (mode == 1) shown.ToggleWhole();
    for (int i = 0; i < (mode == 0 || mode == 1 ? 0 : mode - 1); ++i) shown.CycleInterleave();
    ASSERT_EQ(static_cast<int>(shown.mode()), mode);
    FakeView modeView;
    FakeVoices modeVoices;
    SpeechReading modeReading(shown, modeView, modeVoices, options);

    modeReading.ReadAllOrStop();
    if (chinese) {
      EXPECT_EQ(modeVoices.chinese, std::vector<std::string>{shown.ChineseText()});
      EXPECT_TRUE(modeVoices.english.empty());
    } else {
      EXPECT_EQ(modeVoices.english, std::vector<std::string>{shown.EnglishText()});
      EXPECT_TRUE(modeVoices.chinese.empty());
    }
    EXPECT_EQ(modeView.caption, "停止");
    EXPECT_TRUE(modeView.selections.empty());

    modeReading.ReadAllOrStop();
    EXPECT_EQ(modeVoices.stops, 1);
    EXPECT_EQ(modeView.caption, "全文朗读");
    EXPECT_EQ(modeVoices.english.size() + modeVoices.chinese.size(), 1u);
  }
}

TEST_F(SpeechReadingTest, AnyEndOfSpeechCollapsesTheSelection) {
  view.selection = {3, 9};  // the user's own selection, or another voice's highlight
  reading.EndOfReading();
  EXPECT_EQ(view.selection.length, 0);
  EXPECT_EQ(view.collapses, 1);
}

TEST_F(SpeechReadingTest, EnglishByTheFirstCharacter) {
  const std::pair<std::string, bool> cases[] = {
      {" blank", true}, {"'quoted'", true}, {"7 days", true}, {"Zebra", true}, {"zebra", true},
      {"\"Hi\"", false}, {"(note)", false}, {Gbk("中文"), false}, {"", false}, {"_x", false},
  };
  for (const auto& [text, english] : cases) EXPECT_EQ(SpeechReading::IsEnglishText(text), english) << text;
}

}  // namespace
}  // namespace duvelin
