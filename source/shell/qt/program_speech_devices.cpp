#include "shell/qt/program_speech_devices.h"

#include <cstdlib>

#include "common/qt/qt_http_client.h"
#include "common/qt/qt_scheduler.h"
#include "common/qt/qt_udp_socket.h"
#include "reader/speech/espeak_speech_engine.h"

namespace duvelin {

ProgramSpeechDevices::ProgramSpeechDevices()
    : m_mainThread(std::make_unique<QtScheduler>()), m_audio(AudioOptionsFromEnvironment()) {}

ProgramSpeechDevices::~ProgramSpeechDevices() = default;

MpvOptions ProgramSpeechDevices::AudioOptionsFromEnvironment() {
  MpvOptions options;
  if (const char* driver = std::getenv("DUVELIN_AUDIO_OUTPUT"); driver && *driver) options.audioOutput = driver;
  return options;
}

MainThreadPost ProgramSpeechDevices::Post() {
  return [scheduler = m_mainThread.get()](MainThreadTask task) { scheduler->Post(std::move(task)); };
}

OwnedVoice ProgramSpeechDevices::MakeVoice() {
  OwnedVoice voice;
  voice.output = std::make_unique<MpvAudioOutput>(Post(), m_audio);
  voice.engine = std::make_unique<EspeakSpeechEngine>(*voice.output, Post());
  return voice;
}

std::unique_ptr<AudioOutput> ProgramSpeechDevices::MakeAudioOutput() {
  return std::make_unique<MpvAudioOutput>(Post(), m_audio);
}

std::unique_ptr<UdpSocket> ProgramSpeechDevices::MakeUdpSocket() { return std::make_unique<QtUdpSocket>(); }

std::unique_ptr<HostResolver> ProgramSpeechDevices::MakeHostResolver() { return std::make_unique<QtHostResolver>(); }

std::unique_ptr<HttpClient> ProgramSpeechDevices::MakeHttpClient() { return std::make_unique<QtHttpClient>(); }

}  // namespace duvelin
