// The speech engine on espeak-ng, synthesising for real: voices and their language codes, the
// queue, one end per text in order, stop, skip and the rate and volume mappings. Playback goes
// to a fake output that counts the samples it is given.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/gbk_text.h"
#include "reader/speech/espeak_speech_engine.h"
#include "speech/fake_audio_output.h"
#include "speech/main_thread_queue.h"

namespace duvelin {
namespace {

using testing::FakeAudioOutput;
using testing::MainThreadQueue;

size_t VoiceWith(std::string_view language) {
  const auto& voices = EspeakSpeechEngine::InstalledVoices();
  for (size_t i = 0; i < voices.size(); ++i)
    if (voices[i].token.language == language) return i;
  ADD_FAILURE() << "no voice with language " << language;
  return 0;
}

TEST(EspeakVoices, ListMandarinAndEnglishVoicesWithTheirCodes) {
  const auto& voices = EspeakSpeechEngine::InstalledVoices();
  ASSERT_FALSE(voices.empty());
  const EspeakVoice& chinese = voices[VoiceWith(kChineseLanguageCode)];
  EXPECT_EQ(chinese.language.substr(0, 3), "cmn");
  EXPECT_NE(chinese.name.find("Mandarin"), std::string::npos);
  EXPECT_EQ(voices[VoiceWith(kEnglishLanguageCode)].language.substr(0, 2), "en");
  EXPECT_EQ(voices[EspeakSpeechEngine::DefaultVoice()].language, "en-us");
  for (const auto& voice : voices) EXPECT_EQ(voice.token.description, Utf8ToGbk(voice.name));
}

TEST(EspeakVoices, LanguageCodesAreWindowsCodesInHexadecimal) {
  const std::pair<const char*, const char*> cases[] = {
      {"cmn", "804"},    {"cmn-latn-pinyin", "804"}, {"zh-cmn", "804"}, {"en-us", "409"},
      {"en-gb-x-rp", "409"}, {"en", "409"},          {"EN-029", "409"}, {"fr-fr", "40c"},
      {"fr-be", "80c"},  {"pt-br", "416"},           {"pt", "816"},     {"yue", "c04"},
      {"de", "407"},     {"vi-vn-x-south", "42a"},   {"ja", "411"},     {"eo", ""},
      {"hak", ""},       {"", ""},
  };
  for (const auto& [language, code] : cases) EXPECT_EQ(EspeakSpeechEngine::LanguageCodeOf(language), code) << language;
}

TEST(EspeakVoices, RateAndVolumeMapOntoEspeakRanges) {
  const std::pair<int, int> rates[] = {{0, 175}, {10, 450}, {-10, 80}, {-5, 101}, {5, 303}, {30, 450}, {-30, 80}};
  for (const auto& [rate, wordsPerMinute] : rates) EXPECT_EQ(EspeakSpeechEngine::EspeakRate(rate), wordsPerMinute) << rate;
  const std::pair<int, int> volumes[] = {{0, 0}, {50, 50}, {100, 100}, {150, 100}, {-5, 0}};
  for (const auto& [volume, espeak] : volumes) EXPECT_EQ(EspeakSpeechEngine::EspeakVolume(volume), espeak) << volume;
}

TEST(EspeakSynthesis, RateChangesTheLengthAndVolumeTheLoudness) {
  const std::string text = "The quick brown fox jumps over the lazy dog.";
  SpeechSettings slow{EspeakSpeechEngine::DefaultVoice(), -10, 100};
  SpeechSettings fast{EspeakSpeechEngine::DefaultVoice(), 10, 100};
  auto slowSpeech = EspeakSpeechEngine::Synthesise(text, slow);
  auto fastSpeech = EspeakSpeechEngine::Synthesise(text, fast);
  ASSERT_TRUE(slowSpeech.ok() && fastSpeech.ok());
  EXPECT_EQ(slowSpeech->sampleRate, 22050);
  EXPECT_GT(slowSpeech->samples.size(), 3 * fastSpeech->samples.size());

  auto peak = [](const SynthesisedSpeech& speech) {
    int highest = 0;
    for (int16_t sample : speech.samples) highest = std::max(highest, std::abs(static_cast<int>(sample)));
    return highest;
  };
  auto quiet = EspeakSpeechEngine::Synthesise(text, SpeechSettings{EspeakSpeechEngine::DefaultVoice(), 0, 20});
  auto loud = EspeakSpeechEngine::Synthesise(text, SpeechSettings{EspeakSpeechEngine::DefaultVoice(), 0, 100});
  ASSERT_TRUE(quiet.ok() && loud.ok());
  EXPECT_LT(peak(*quiet) * 2, peak(*loud));
  auto silent = EspeakSpeechEngine::Synthesise(text, SpeechSettings{EspeakSpeechEngine::DefaultVoice(), 0, 0});
  ASSERT_TRUE(silent.ok());
  EXPECT_EQ(peak(*silent), 0);
}

TEST(EspeakSynthesis, UnknownVoiceIsAnError) {
  EXPECT_FALSE(EspeakSpeechEngine::Synthesise("hello", SpeechSettings{100000, 0, 100}).ok());
}

class EspeakEngineTest : public ::testing::Test {
 protected:
  EspeakEngineTest() {
    engine.SetEndOfStreamHandler([this](SpeechEngine::StreamNumber stream) { ends.push_back(stream); });
  }

  bool RunUntilEnds(size_t count) {
    return queue.RunUntil([&] { return ends.size() >= count; });
  }
  bool RunUntilPlaybacks(size_t count) {
    return queue.RunUntil([&] { return output.playbacks.size() >= count; });
  }

  MainThreadQueue queue;
  FakeAudioOutput output{queue.Poster()};
  EspeakSpeechEngine engine{output, queue.Poster()};
  std::vector<SpeechEngine::StreamNumber> ends;
};

TEST_F(EspeakEngineTest, EnglishAndMandarinTextsEachProduceAudioAndOneEndInOrder) {
  FakeAudioOutput immediate(queue.Poster(), FakeAudioOutput::Ending::AtOnce);
  EspeakSpeechEngine speaker(immediate, queue.Poster());
  std::vector<SpeechEngine::StreamNumber> heard;
  speaker.SetEndOfStreamHandler([&](SpeechEngine::StreamNumber stream) { heard.push_back(stream); });

  ASSERT_TRUE(speaker.SetVoice(VoiceWith(kEnglishLanguageCode)).ok());
  const auto english = speaker.Speak("Good morning, this is an English sentence.");
  ASSERT_TRUE(speaker.SetVoice(VoiceWith(kChineseLanguageCode)).ok());
  const auto chinese = speaker.Speak(Utf8ToGbk("早上好，这是一个中文句子。"));
  EXPECT_TRUE(speaker.IsSpeaking());

  ASSERT_TRUE(queue.RunUntil([&] { return heard.size() >= 2; }));
  queue.RunPending();
  EXPECT_EQ(heard, (std::vector{english, chinese}));
  EXPECT_FALSE(speaker.IsSpeaking());
  ASSERT_EQ(immediate.playbacks.size(), 2u);
  for (const auto& playback : immediate.playbacks) {
    EXPECT_EQ(playback.wav.substr(0, 4), "RIFF");
    EXPECT_GT(FakeAudioOutput::SamplesOf(playback.wav), 22050u / 2) << "at least half a second of speech";
  }
}

TEST_F(EspeakEngineTest, ASecondTextWaitsBehindTheOneBeingSpoken) {
  const auto first = engine.Speak("First text.");
  const auto second = engine.Speak("Second text.");
  ASSERT_TRUE(RunUntilPlaybacks(1));
  queue.RunPending();
  EXPECT_TRUE(ends.empty());
  EXPECT_EQ(output.playbacks.size(), 1u);

  output.End();
  ASSERT_TRUE(RunUntilPlaybacks(2));
  EXPECT_EQ(ends, std::vector{first});
  output.End();
  ASSERT_TRUE(RunUntilEnds(2));
  EXPECT_EQ(ends, (std::vector{first, second}));
}

TEST_F(EspeakEngineTest, StopEndsTheCurrentTextAndDropsTheQueue) {
  const auto first = engine.Speak("This text is cut short.");
  engine.Speak("Never heard.");
  engine.Speak("Never heard either.");
  ASSERT_TRUE(RunUntilPlaybacks(1));

  engine.Stop();
  EXPECT_EQ(output.stops, 1);
  ASSERT_TRUE(RunUntilEnds(1));
  queue.RunPending();
  EXPECT_EQ(ends, std::vector{first});
  EXPECT_EQ(output.playbacks.size(), 1u);
  EXPECT_EQ(output.playbacks[0].end, PlaybackEnd::Stopped);
  EXPECT_FALSE(engine.IsSpeaking());

  // Stopping an idle engine reports nothing; the engine speaks on afterwards.
  engine.Stop();
  const auto later = engine.Speak("Still working.");
  ASSERT_TRUE(RunUntilPlaybacks(2));
  output.End();
  ASSERT_TRUE(RunUntilEnds(2));
  EXPECT_EQ(ends, (std::vector{first, later}));
}

TEST_F(EspeakEngineTest, StopDuringSynthesisStillReportsTheEnd) {
  std::string longText;
  for (int i = 0; i < 40; ++i) longText += "This is a rather long line of text that takes a while.\r\n";
  const auto first = engine.Speak(longText);
  engine.Stop();
  ASSERT_TRUE(RunUntilEnds(1));
  queue.RunPending();
  EXPECT_EQ(ends, std::vector{first});
  EXPECT_LE(output.playbacks.size(), 1u);
}

TEST_F(EspeakEngineTest, SkipEndsTheCurrentTextAndTheQueueGoesOn) {
  const auto first = engine.Speak("First line.\r\nSecond line, never played.");
  const auto second = engine.Speak("Next text.");
  ASSERT_TRUE(RunUntilPlaybacks(1));
  engine.Skip();
  ASSERT_TRUE(RunUntilPlaybacks(2));
  EXPECT_EQ(ends, std::vector{first});
  EXPECT_EQ(output.playbacks[0].end, PlaybackEnd::Stopped);
  output.End();
  ASSERT_TRUE(RunUntilEnds(2));
  EXPECT_EQ(ends, (std::vector{first, second}));
  EXPECT_EQ(output.playbacks.size(), 2u);
}

TEST_F(EspeakEngineTest, LinesArePlayedOneAfterAnotherAsOneText) {
  const auto stream = engine.Speak("One.\r\n\r\n   \r\nTwo.\nThree.");
  for (size_t played = 1; played <= 3; ++played) {
    ASSERT_TRUE(RunUntilPlaybacks(played));
    EXPECT_TRUE(ends.empty());
    output.End();
  }
  ASSERT_TRUE(RunUntilEnds(1));
  queue.RunPending();
  EXPECT_EQ(ends, std::vector{stream});
  EXPECT_EQ(output.playbacks.size(), 3u);
}

TEST_F(EspeakEngineTest, EmptyTextEndsWithoutPlayingAndNeverInsideTheCall) {
  const auto stream = engine.Speak("");
  EXPECT_TRUE(ends.empty());
  ASSERT_TRUE(RunUntilEnds(1));
  EXPECT_EQ(ends, std::vector{stream});
  EXPECT_TRUE(output.playbacks.empty());
}

TEST_F(EspeakEngineTest, VoiceRateAndVolumeSettings) {
  EXPECT_EQ(engine.Voice(), EspeakSpeechEngine::DefaultVoice());
  EXPECT_FALSE(engine.SetVoice(engine.Voices().size()).ok());
  EXPECT_EQ(engine.Voices().size(), EspeakSpeechEngine::InstalledVoices().size());
  EXPECT_EQ(FirstVoiceWithLanguage(engine, kChineseLanguageCode), VoiceWith(kChineseLanguageCode));
  engine.SetRate(25);
  EXPECT_EQ(engine.Rate(), 10);
  engine.SetRate(-11);
  EXPECT_EQ(engine.Rate(), -10);
  engine.SetVolume(101);
  EXPECT_EQ(engine.Volume(), 100);
  engine.SetVolume(-1);
  EXPECT_EQ(engine.Volume(), 0);
}

TEST_F(EspeakEngineTest, DestroyingAnEngineThatSpeaksIsSafe) {
  auto speaker = std::make_unique<EspeakSpeechEngine>(output, queue.Poster());
  int heard = 0;
  speaker->SetEndOfStreamHandler([&](SpeechEngine::StreamNumber) { ++heard; });
  speaker->Speak("Some words that are never finished.");
  speaker->Speak("More words.");
  ASSERT_TRUE(RunUntilPlaybacks(1));
  speaker.reset();
  output.End();
  queue.RunPending();
  EXPECT_EQ(heard, 0);
}

}  // namespace
}  // namespace duvelin
