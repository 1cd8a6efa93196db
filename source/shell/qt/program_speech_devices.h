// The program's SpeechDevices: espeak-ng voices and recordings played through libmpv, each
// with an output of its own, and Qt Network for the lookup and the downloads. Work from the
// synthesis and audio threads reaches the main thread through a queued call. The audio
// driver is mpv's default; DUVELIN_AUDIO_OUTPUT names another one ("null" plays without a
// device, in real time).
#pragma once

#include <memory>

#include "common/mpv_audio_output.h"
#include "shell/qt/speech_devices.h"

namespace duvelin {

class QtScheduler;

class ProgramSpeechDevices final : public SpeechDevices {
 public:
  // Create after the application object: libmpv needs the C numeric locale that Qt set up.
  ProgramSpeechDevices();
  ~ProgramSpeechDevices() override;

  OwnedVoice MakeVoice() override;
  std::unique_ptr<AudioOutput> MakeAudioOutput() override;
  std::unique_ptr<UdpSocket> MakeUdpSocket() override;
  std::unique_ptr<HostResolver> MakeHostResolver() override;
  std::unique_ptr<HttpClient> MakeHttpClient() override;

  static MpvOptions AudioOptionsFromEnvironment();

 private:
  MainThreadPost Post();

  std::unique_ptr<QtScheduler> m_mainThread;
  MpvOptions m_audio;
};

}  // namespace duvelin
