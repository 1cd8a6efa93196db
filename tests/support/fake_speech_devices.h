// SpeechDevices for window tests: voices that speak nothing and report their ends when the
// test says so, an output that plays nothing, and a network that is never reached (a lookup
// counts its datagrams; every download fails). The parts made are kept for the test to read.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shell/qt/speech_devices.h"
#include "speech/fake_audio_output.h"
#include "speech/fake_speech_engine.h"

namespace duvelin::testing {

class CountingUdpSocket final : public UdpSocket {
 public:
  Status Bind(uint16_t) override { return Status::Ok(); }
  Status SendTo(const std::string&, uint16_t, std::string_view datagram) override {
    sent.emplace_back(datagram);
    return Status::Ok();
  }
  void SetDatagramHandler(DatagramHandler handler) override { this->handler = std::move(handler); }
  std::vector<std::string> sent;
  DatagramHandler handler;
};

class LoopbackResolver final : public HostResolver {
 public:
  Result<std::string> ResolveIpv4(const std::string&) override { return std::string("127.0.0.1"); }
};

class OfflineHttpClient final : public HttpClient {
 public:
  void Send(HttpRequest, Completion done) override { done(Error{"offline"}); }
};

class FakeSpeechDevices final : public SpeechDevices {
 public:
  explicit FakeSpeechDevices(MainThreadPost post) : m_post(std::move(post)) {}

  OwnedVoice MakeVoice() override {
    OwnedVoice voice;
    auto engine = std::make_unique<FakeSpeechEngine>(m_post, voiceTokens);
    voicesMade.push_back(engine.get());
    voice.engine = std::move(engine);
    return voice;
  }
  std::unique_ptr<AudioOutput> MakeAudioOutput() override {
    auto output = std::make_unique<FakeAudioOutput>(m_post, FakeAudioOutput::Ending::AtOnce);
    outputsMade.push_back(output.get());
    return output;
  }
  std::unique_ptr<UdpSocket> MakeUdpSocket() override {
    auto socket = std::make_unique<CountingUdpSocket>();
    socketsMade.push_back(socket.get());
    return socket;
  }
  std::unique_ptr<HostResolver> MakeHostResolver() override { return std::make_unique<LoopbackResolver>(); }
  std::unique_ptr<HttpClient> MakeHttpClient() override { return std::make_unique<OfflineHttpClient>(); }

  // The voices every made engine lists; set before the windows are made.
  std::vector<VoiceToken> voiceTokens = FakeSpeechEngine::DefaultVoices();
  // In the order made: the trainer's Chinese voice first, then the battle window's English one.
  std::vector<FakeSpeechEngine*> voicesMade;
  std::vector<FakeAudioOutput*> outputsMade;
  std::vector<CountingUdpSocket*> socketsMade;

 private:
  MainThreadPost m_post;
};

}  // namespace duvelin::testing
