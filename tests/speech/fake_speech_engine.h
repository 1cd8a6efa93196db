// A SpeechEngine that speaks nothing: it records texts, stops and skips, and reports the end of
// the current text when the test says so, through the main-thread post, in queue order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/main_thread_post.h"
#include "reader/speech/speech_engine.h"

namespace duvelin::testing {

class FakeSpeechEngine : public SpeechEngine {
 public:
  FakeSpeechEngine(MainThreadPost post, std::vector<VoiceToken> voices = DefaultVoices())
      : m_post(std::move(post)), m_voices(std::move(voices)) {}

  static std::vector<VoiceToken> DefaultVoices() {
    return {{"English (America)", kEnglishLanguageCode}, {"Chinese (Mandarin)", kChineseLanguageCode}};
  }

  const std::vector<VoiceToken>& Voices() const override { return m_voices; }
  Status SetVoice(size_t index) override {
    if (index >= m_voices.size()) return Error{"no such voice"};
    m_voice = index;
    return Status::Ok();
  }
  std::optional<size_t> Voice() const override { return m_voice; }
  int Rate() const override { return m_rate; }
  void SetRate(int rate) override { m_rate = rate; }
  int Volume() const override { return m_volume; }
  void SetVolume(int volume) override { m_volume = volume; }

  StreamNumber Speak(std::string text) override {
    spoken.push_back(text);
    m_queue.push_back({++m_last, std::move(text)});
    return m_last;
  }
  void Stop() override {
    ++stops;
    // The text being spoken ends (reported later); queued ones are dropped.
    if (!m_queue.empty()) {
      m_queue.resize(1);
      FinishCurrent();
    }
  }
  void Skip() override {
    ++skips;
    FinishCurrent();
  }
  bool IsSpeaking() const override { return !m_queue.empty(); }
  void SetEndOfStreamHandler(EndOfStream handler) override { m_handler = std::move(handler); }

  // The current text has been spoken: its end is posted.
  void FinishCurrent() {
    if (m_queue.empty()) return;
    const StreamNumber stream = m_queue.front().first;
    m_queue.pop_front();
    m_post([this, stream] {
      if (m_handler) m_handler(stream);
    });
  }
  // Texts still to be reported.
  size_t Queued() const { return m_queue.size(); }

  std::vector<std::string> spoken;  // every text given to Speak, in order
  int stops = 0;
  int skips = 0;

 private:
  MainThreadPost m_post;
  std::vector<VoiceToken> m_voices;
  std::optional<size_t> m_voice = 0;
  int m_rate = 0, m_volume = 100;
  StreamNumber m_last = 0;
  std::deque<std::pair<StreamNumber, std::string>> m_queue;
  EndOfStream m_handler;
};

}  // namespace duvelin::testing
