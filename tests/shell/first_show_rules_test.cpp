// First show's voice rules: the engine notice for "Microsoft Sam" and online pronunciation off
// for "VW paul"/"VW kate", in any letter case; the voice chosen by its settings index.
#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "shell/first_show_rules.h"

namespace duvelin {
namespace {

TEST(FirstShowRules, MicrosoftSamInAnyCaseGetsTheNotice) {
  const std::string notice = std::string("当前您电脑的语音朗读引擎质量不高，可从 ") + kSpeechEngineDownloadAddress +
                             " 下载优质语音引擎。";
  for (const char* voice : {"Microsoft Sam", "microsoft sam", "MICROSOFT SAM", "mIcRoSoFt sAm"}) {
    SCOPED_TRACE(voice);
    ASSERT_TRUE(SpeechEngineNotice(voice).has_value());
    EXPECT_EQ(GbkToUtf8(*SpeechEngineNotice(voice)), notice);
  }
  for (const char* voice : {"", "Microsoft Sam ", "Microsoft Mary", "English (Great Britain)", "VW kate"})
    EXPECT_EQ(SpeechEngineNotice(voice), std::nullopt) << voice;
}

TEST(FirstShowRules, VwVoicesSwitchOnlinePronunciationOffInMemory) {
  struct Case {
    const char* voice;
    bool off;
  };
  for (Case c : {Case{"VW kate", true}, Case{"vw KATE", true}, Case{"VW Paul", true}, Case{"VW PAUL", true},
                 Case{"VW kate2", false}, Case{"Microsoft Sam", false}, Case{"", false}}) {
    SCOPED_TRACE(c.voice);
    TGameOptions options;
    options.speech.yodao_sound = 1;
    EXPECT_EQ(VoiceTurnsOffOnlinePronunciation(c.voice), c.off);
    ApplyVoicePronunciationRule(c.voice, options);
    EXPECT_EQ(options.speech.yodao_sound, c.off ? 0 : 1);
  }
}

TEST(FirstShowRules, SelectedVoiceFallsBackToTheFirst) {
  const std::vector<std::string> voices = {"a", "b", "c"};
  EXPECT_EQ(SelectedVoiceDescription(voices, 0), "a");
  EXPECT_EQ(SelectedVoiceDescription(voices, 2), "c");
  EXPECT_EQ(SelectedVoiceDescription(voices, 3), "a");
  EXPECT_EQ(SelectedVoiceDescription(voices, -1), "a");
  EXPECT_EQ(SelectedVoiceDescription({}, 0), "");
}

}  // namespace
}  // namespace duvelin
