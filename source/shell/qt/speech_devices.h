// What the program's voices, recordings and the pronunciation service's network are made of.
// The program makes espeak-ng voices playing through libmpv and Qt Network sockets; window
// tests hand in fakes, so that speech and lookups can be followed without a sound device.
#pragma once

#include <memory>

#include "common/audio_output.h"
#include "common/http_client.h"
#include "common/udp_socket.h"
#include "reader/speech/speech_engine.h"

namespace duvelin {

// A voice with the sound output it alone speaks through (its stop and skip stop that output).
struct OwnedVoice {
  std::unique_ptr<AudioOutput> output;   // null when the engine needs none
  std::unique_ptr<SpeechEngine> engine;  // declared last: goes before its output
};

class SpeechDevices {
 public:
  virtual ~SpeechDevices() = default;
  virtual OwnedVoice MakeVoice() = 0;
  // An output for downloaded recordings.
  virtual std::unique_ptr<AudioOutput> MakeAudioOutput() = 0;
  virtual std::unique_ptr<UdpSocket> MakeUdpSocket() = 0;
  virtual std::unique_ptr<HostResolver> MakeHostResolver() = 0;
  virtual std::unique_ptr<HttpClient> MakeHttpClient() = 0;
};

}  // namespace duvelin
