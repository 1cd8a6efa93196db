// The audio output on libmpv with the "null" device, which plays in real time: WAVs from
// memory and from files, the end of each playback with its reason, a missing file, a playback
// replaced by a newer one, stop; and the espeak-ng engine speaking through it.
#include <gtest/gtest.h>

#include <cmath>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/mpv_audio_output.h"
#include "reader/speech/espeak_speech_engine.h"
#include "speech/main_thread_queue.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::MainThreadQueue;

// A sine tone of `seconds` at 22050 Hz.
std::string ToneWav(double seconds) {
  std::vector<int16_t> samples(static_cast<size_t>(22050 * seconds));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(6000 * std::sin(i * 0.125));
  return MakeWavFile(22050, samples);
}

class MpvAudioOutputTest : public ::testing::Test {
 protected:
  AudioOutput::Done Record(std::vector<PlaybackOutcome>& into) {
    return [&into](const PlaybackOutcome& outcome) { into.push_back(outcome); };
  }
  bool RunUntilCount(const std::vector<PlaybackOutcome>& outcomes, size_t count) {
    return queue.RunUntil([&] { return outcomes.size() >= count; });
  }

  MainThreadQueue queue;
  MpvAudioOutput output{queue.Poster(), MpvOptions{"null"}};
  testing::TempFolder folder;
};

TEST_F(MpvAudioOutputTest, PlaysAWavFromMemoryToItsEnd) {
  ASSERT_TRUE(output.IsAvailable());
  std::vector<PlaybackOutcome> outcomes;
  output.PlayWav(ToneWav(0.3), Record(outcomes));
  EXPECT_TRUE(output.IsPlaying());
  EXPECT_TRUE(outcomes.empty()) << "the end never arrives inside the call";
  ASSERT_TRUE(RunUntilCount(outcomes, 1));
  EXPECT_EQ(outcomes[0].end, PlaybackEnd::Finished);
  EXPECT_FALSE(output.IsPlaying());
}

TEST_F(MpvAudioOutputTest, PlaysAFileAndReportsAMissingOneAsFailed) {
  const auto file = folder.Write("tone.wav", ToneWav(0.2));
  std::vector<PlaybackOutcome> outcomes;
  output.PlayFile(file, Record(outcomes));
  ASSERT_TRUE(RunUntilCount(outcomes, 1));
  EXPECT_EQ(outcomes[0].end, PlaybackEnd::Finished);

  output.PlayFile(folder.path() / "missing.mp3", Record(outcomes));
  ASSERT_TRUE(RunUntilCount(outcomes, 2));
  EXPECT_EQ(outcomes[1].end, PlaybackEnd::Failed);
  EXPECT_FALSE(outcomes[1].error.empty());

  // Bytes that are no sound at all fail as well.
  output.PlayWav("not a sound file", Record(outcomes));
  ASSERT_TRUE(RunUntilCount(outcomes, 3));
  EXPECT_EQ(outcomes[2].end, PlaybackEnd::Failed);
}

TEST_F(MpvAudioOutputTest, ANewerPlaybackAndStopEndTheRunningOneAsStopped) {
  std::vector<PlaybackOutcome> first, second, third;
  output.PlayWav(ToneWav(20), Record(first));
  output.PlayWav(ToneWav(0.2), Record(second));
  ASSERT_TRUE(queue.RunUntil([&] { return !first.empty() && !second.empty(); }));
  EXPECT_EQ(first[0].end, PlaybackEnd::Stopped);
  EXPECT_EQ(second[0].end, PlaybackEnd::Finished);

  output.PlayWav(ToneWav(20), Record(third));
  output.Stop();
  ASSERT_TRUE(RunUntilCount(third, 1));
  EXPECT_EQ(third[0].end, PlaybackEnd::Stopped);
  queue.RunPending();
  EXPECT_EQ(first.size() + second.size() + third.size(), 3u) << "one end per playback";
}

TEST_F(MpvAudioOutputTest, VolumeIsClamped) {
  output.SetVolume(140);
  EXPECT_EQ(output.Volume(), 100);
  output.SetVolume(-3);
  EXPECT_EQ(output.Volume(), 0);
  output.SetVolume(35);
  EXPECT_EQ(output.Volume(), 35);
}

TEST_F(MpvAudioOutputTest, EspeakEngineSpeaksThroughItAndReportsEachEnd) {
  EspeakSpeechEngine engine(output, queue.Poster());
  std::vector<SpeechEngine::StreamNumber> ends;
  engine.SetEndOfStreamHandler([&](SpeechEngine::StreamNumber stream) { ends.push_back(stream); });
  const auto english = engine.Speak("Hello.");
  ASSERT_TRUE(engine.SetVoice(*FirstVoiceWithLanguage(engine, kChineseLanguageCode)).ok());
  const auto chinese = engine.Speak(Utf8ToGbk("你好。"));
  ASSERT_TRUE(queue.RunUntil([&] { return ends.size() >= 2; }));
  EXPECT_EQ(ends, (std::vector{english, chinese}));
}

// Without any device mpv cannot open its output; every playback must still end.
TEST(MpvAudioOutputWithoutDevice, PlaybacksStillEnd) {
  MainThreadQueue queue;
  MpvAudioOutput output(queue.Poster(), MpvOptions{"alsa", "alsa/duvelin-no-such-device"});
  std::vector<PlaybackOutcome> outcomes;
  output.PlayWav(ToneWav(0.2), [&](const PlaybackOutcome& outcome) { outcomes.push_back(outcome); });
  ASSERT_TRUE(queue.RunUntil([&] { return !outcomes.empty(); }));
}

}  // namespace
}  // namespace duvelin
