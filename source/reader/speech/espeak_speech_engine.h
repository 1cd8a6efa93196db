// The SpeechEngine on espeak-ng. espeak-ng only synthesises: a worker thread of each engine turns
// its texts into samples (retrieval, no sound device involved), and the samples are played
// through the engine's own AudioOutput, so the end of every text is ours to report, also when
// no device exists. The worker never calls the logic: it hands its results to the main thread
// through the MainThreadPost given at construction.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/audio_output.h"
#include "common/main_thread_post.h"
#include "common/result.h"
#include "reader/speech/speech_engine.h"

namespace duvelin {

struct EspeakVoice {
  VoiceToken token;
  std::string name;        // espeak-ng's voice name, UTF-8 (ASCII): what selects the voice
  std::string identifier;  // its voice file, e.g. "sit/cmn"
  std::string language;    // its first language, e.g. "cmn", "en-us"
};

struct SpeechSettings {
  size_t voice = 0;  // index into InstalledVoices()
  int rate = 0;      // -10..10
  int volume = 100;  // 0..100
};

// Mono 16-bit samples at `sampleRate`, as espeak-ng produced them.
struct SynthesisedSpeech {
  int sampleRate = 0;
  std::vector<int16_t> samples;
};

// A PCM WAV file (RIFF, mono, 16 bits) of the samples.
std::string MakeWavFile(int sampleRate, const std::vector<int16_t>& samples);

class EspeakSpeechEngine final : public SpeechEngine {
 public:
  // `output` plays this engine's speech and nothing else: stop and skip stop it. Give every
  // engine its own output.
  EspeakSpeechEngine(AudioOutput& output, MainThreadPost post);
  ~EspeakSpeechEngine() override;  // speech still running ends without a notification
  EspeakSpeechEngine(const EspeakSpeechEngine&) = delete;
  EspeakSpeechEngine& operator=(const EspeakSpeechEngine&) = delete;

  // espeak-ng's voices in its own order, each with its "Language" code; empty when espeak-ng
  // cannot start (no voice data). The same list for every engine of the process.
  static const std::vector<EspeakVoice>& InstalledVoices();
  // Mandarin "804", English "409", other languages their usual Windows code in hexadecimal,
  // empty for a language Windows has no code for. `espeakLanguage` as espeak-ng names it.
  static std::string LanguageCodeOf(std::string_view espeakLanguage);
  // The voice of an engine before SetVoice: American English, else the first English voice,
  // else the first voice.
  static size_t DefaultVoice();
  // Rate -10..10 as espeak-ng's words per minute (175 at 0, three times as fast at 10 and a
  // third at -10, within espeak-ng's 80..450); volume 0..100 as espeak-ng's (100 is its normal).
  static int EspeakRate(int rate);
  static int EspeakVolume(int volume);

  // Synthesises `text` (GBK) on the calling thread, line by line: `piece` receives the samples
  // of each line with speech in it, as soon as they exist, and returns false to stop. `cancelled`
  // is asked while a line is synthesised; true abandons it. An error when espeak-ng cannot
  // start or the voice cannot be chosen.
  using PieceSink = std::function<bool(std::vector<int16_t> samples)>;
  static Status SynthesisePieces(std::string_view text, const SpeechSettings& settings, const PieceSink& piece,
                                 const std::function<bool()>& cancelled = {});
  // All of `text` at once (what duvelin-tool say writes).
  static Result<SynthesisedSpeech> Synthesise(std::string_view text, const SpeechSettings& settings);
  // espeak-ng's sample rate (22050 Hz); 0 when it cannot start.
  static int SampleRate();

  const std::vector<VoiceToken>& Voices() const override;
  Status SetVoice(size_t index) override;
  std::optional<size_t> Voice() const override;
  int Rate() const override;
  void SetRate(int rate) override;
  int Volume() const override;
  void SetVolume(int volume) override;
  StreamNumber Speak(std::string text) override;
  void Stop() override;
  void Skip() override;
  bool IsSpeaking() const override;
  void SetEndOfStreamHandler(EndOfStream handler) override;

 private:
  struct Core;
  std::shared_ptr<Core> m_core;
};

}  // namespace duvelin
