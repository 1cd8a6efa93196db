// Sound playback as the logic uses it: play a file or a WAV held in memory, stop, set the
// volume, and learn when a playback ended and why. The pronunciation service plays recordings
// through it and the speech engine its synthesised speech. Decoding and the sound device are
// the implementation's (libmpv); tests use a fake.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace duvelin {

enum class PlaybackEnd {
  Finished,  // played to its end
  Stopped,   // Stop() or a newer playback took its place
  Failed,    // could not be opened, decoded or sent to a device
};

struct PlaybackOutcome {
  PlaybackEnd end = PlaybackEnd::Finished;
  std::string error;  // UTF-8, set when Failed
};

class AudioOutput {
 public:
  // Runs exactly once per playback, on the main thread, never inside the call that started it.
  using Done = std::function<void(const PlaybackOutcome&)>;

  virtual ~AudioOutput() = default;

  // Starts playing at once; a playback still running ends as Stopped. A missing or unreadable
  // file ends as Failed.
  virtual void PlayFile(const std::filesystem::path& file, Done done) = 0;
  // The same for a complete sound file held in memory (a WAV; any format the library decodes).
  virtual void PlayWav(std::string wavBytes, Done done) = 0;
  // Ends the running playback (as Stopped); nothing when idle.
  virtual void Stop() = 0;

  // 0..100, clamped; applies at once and to later playbacks.
  virtual void SetVolume(int percent) = 0;
  virtual int Volume() const = 0;

  // A playback was started and has not yet reported its end.
  virtual bool IsPlaying() const = 0;
};

}  // namespace duvelin
