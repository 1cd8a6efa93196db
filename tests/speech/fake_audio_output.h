// An AudioOutput that plays nothing: it records what it was given and reports the end of a
// playback when the test says so (or at once, in automatic mode), through the main-thread post.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/audio_output.h"
#include "common/main_thread_post.h"

namespace duvelin::testing {

class FakeAudioOutput : public AudioOutput {
 public:
  enum class Ending { WhenTold, AtOnce };

  struct Playback {
    std::filesystem::path file;  // empty for a WAV from memory
    std::string wav;
    PlaybackEnd end = PlaybackEnd::Finished;
    bool ended = false;
  };

  FakeAudioOutput(MainThreadPost post, Ending ending = Ending::WhenTold) : m_post(std::move(post)), m_ending(ending) {}

  void PlayFile(const std::filesystem::path& file, Done done) override { Start(Playback{file, {}}, std::move(done)); }
  void PlayWav(std::string wavBytes, Done done) override { Start(Playback{{}, std::move(wavBytes)}, std::move(done)); }
  void Stop() override {
    ++stops;
    if (IsPlaying()) End(PlaybackEnd::Stopped);
  }
  void SetVolume(int percent) override { m_volume = percent < 0 ? 0 : percent > 100 ? 100 : percent; }
  int Volume() const override { return m_volume; }
  bool IsPlaying() const override { return m_done.has_value(); }

  // Ends the running playback; its end arrives through the post.
  void End(PlaybackEnd end = PlaybackEnd::Finished) {
    if (!m_done) return;
    Done done = std::move(*m_done);
    m_done.reset();
    playbacks.back().end = end;
    playbacks.back().ended = true;
    m_post([done = std::move(done), end] { done({end, end == PlaybackEnd::Failed ? "failed" : ""}); });
  }

  // The samples of a 16-bit mono WAV as MakeWavFile writes it (44-byte header).
  static size_t SamplesOf(const std::string& wav) { return wav.size() < 44 ? 0 : (wav.size() - 44) / 2; }

  std::vector<Playback> playbacks;
  int stops = 0;

 private:
  void Start(Playback playback, Done done) {
    if (IsPlaying()) End(PlaybackEnd::Stopped);
    playbacks.push_back(std::move(playback));
    m_done = std::move(done);
    if (m_ending == Ending::AtOnce) End(PlaybackEnd::Finished);
  }

  MainThreadPost m_post;
  Ending m_ending;
  std::optional<Done> m_done;
  int m_volume = 100;
};

}  // namespace duvelin::testing
