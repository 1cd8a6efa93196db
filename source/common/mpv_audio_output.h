// The program's AudioOutput on libmpv: files and in-memory WAVs, volume, and the end of every
// playback with its reason. libmpv's own thread only wakes us; its events are read and
// reported on the main thread through the MainThreadPost given at construction. Tests use the
// audio output "null", which plays in real time without a device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/audio_output.h"
#include "common/main_thread_post.h"

namespace duvelin {

struct MpvOptions {
  std::string audioOutput;  // mpv's "ao": empty for its default driver, "null" for none
  std::string audioDevice;  // mpv's "audio-device": empty for the driver's default
};

class MpvAudioOutput final : public AudioOutput {
 public:
  explicit MpvAudioOutput(MainThreadPost post, MpvOptions options = {});
  ~MpvAudioOutput() override;  // playbacks still running report nothing
  MpvAudioOutput(const MpvAudioOutput&) = delete;
  MpvAudioOutput& operator=(const MpvAudioOutput&) = delete;

  // False when libmpv could not be set up; every playback then fails at once.
  bool IsAvailable() const;

  void PlayFile(const std::filesystem::path& file, Done done) override;
  void PlayWav(std::string wavBytes, Done done) override;
  void Stop() override;
  void SetVolume(int percent) override;
  int Volume() const override;
  bool IsPlaying() const override;

 private:
  struct Core;
  std::shared_ptr<Core> m_core;
};

}  // namespace duvelin
