#include "reader/speech/espeak_speech_engine.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "common/gbk_text.h"
#include "common/line_list.h"
#include "reader/speech/voice_catalogue.h"

namespace duvelin {
namespace {

// espeak-ng is one synthesiser per process with global state (voice, rate, callback): every
// call into it holds this lock.
std::mutex& EspeakMutex() {
  static std::mutex mutex;
  return mutex;
}

// The samples of one synthesis. espeak-ng calls CollectSamples on its own thread (or inside
// espeak_Synth, depending on how it was set up); the synthesising thread waits for the end.
struct PieceCollector {
  const std::function<bool()>* cancelled;
  std::mutex mutex;
  std::condition_variable ended;
  std::vector<int16_t> samples;  // guarded by mutex
  bool finished = false;         // guarded by mutex: the last samples have arrived
  bool abandoned = false;        // guarded by mutex: we told espeak-ng to stop

  // Waits until the synthesis finished or was abandoned; espeak_Synchronize has returned, so
  // this is at once in practice (the time limit only keeps a misbehaving library from hanging us).
  std::vector<int16_t> Take() {
    std::unique_lock lock(mutex);
    ended.wait_for(lock, std::chrono::seconds(10), [this] { return finished || abandoned; });
    return abandoned ? std::vector<int16_t>() : std::move(samples);
  }
};

int CollectSamples(short* wave, int count, espeak_EVENT* events) {
  auto* collector = events ? static_cast<PieceCollector*>(events->user_data) : nullptr;
  if (!collector) return 0;
  const bool stop = *collector->cancelled && (*collector->cancelled)();
  std::lock_guard lock(collector->mutex);
  if (wave && count > 0) collector->samples.insert(collector->samples.end(), wave, wave + count);
  if (!wave) collector->finished = true;
  if (stop) collector->abandoned = true;
  if (!wave || stop) collector->ended.notify_all();
  return stop ? 1 : 0;
}

// espeak-ng may be set up only once per process: a second espeak_Initialize starts a second
// synthesis thread over the same queue, and the two deadlock. VoiceCatalogue sets it up (for
// retrieval of samples, no sound device), so we let it, whoever comes first. Call with
// EspeakMutex held.
int InitialisedSampleRate() {
  static int sampleRate = [] {
    if (VoiceCatalogue().VoiceDescriptions().empty()) return 0;
    espeak_SetSynthCallback(CollectSamples);
    return espeak_ng_GetSampleRate();
  }();
  return sampleRate;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Windows language codes of the languages espeak-ng speaks: full tags first, then primary ones.
const std::map<std::string, std::string, std::less<>>& LanguageCodes() {
  static const std::map<std::string, std::string, std::less<>> codes = {
      {"af", "436"},    {"am", "45e"},   {"ar", "401"},   {"as", "44d"},    {"az", "42c"},   {"ba", "46d"},
      {"be", "423"},    {"bg", "402"},   {"bn", "445"},   {"bs", "141a"},   {"ca", "403"},   {"chr", "45c"},
      {"cs", "405"},    {"cy", "452"},   {"da", "406"},   {"de", "407"},    {"el", "408"},   {"es", "c0a"},
      {"es-419", "580a"}, {"et", "425"}, {"eu", "42d"},   {"fa", "429"},    {"fi", "40b"},   {"fr", "40c"},
      {"fr-be", "80c"}, {"fr-ch", "100c"}, {"ga", "83c"}, {"gd", "491"},    {"gn", "474"},   {"gu", "447"},
      {"haw", "475"},   {"he", "40d"},   {"hi", "439"},   {"hr", "41a"},    {"hu", "40e"},   {"hy", "42b"},
      {"id", "421"},    {"is", "40f"},   {"it", "410"},   {"ja", "411"},    {"ka", "437"},   {"kk", "43f"},
      {"kl", "46f"},    {"kn", "44b"},   {"ko", "412"},   {"kok", "457"},   {"ky", "440"},   {"lb", "46e"},
      {"lt", "427"},    {"lv", "426"},   {"mi", "481"},   {"mk", "42f"},    {"ml", "44c"},   {"mr", "44e"},
      {"ms", "43e"},    {"mt", "43a"},   {"my", "455"},   {"nb", "414"},    {"ne", "461"},   {"nl", "413"},
      {"no", "414"},    {"om", "472"},   {"or", "448"},   {"pa", "446"},    {"pl", "415"},   {"pt", "816"},
      {"pt-br", "416"}, {"qu", "46b"},   {"quc", "486"},  {"ro", "418"},    {"ru", "419"},   {"sd", "859"},
      {"si", "45b"},    {"sk", "41b"},   {"sl", "424"},   {"smj", "103b"},  {"sq", "41c"},   {"sr", "c1a"},
      {"sv", "41d"},    {"sw", "441"},   {"ta", "449"},   {"te", "44a"},    {"th", "41e"},   {"tk", "442"},
      {"tn", "432"},    {"tr", "41f"},   {"tt", "444"},   {"ug", "480"},    {"uk", "422"},   {"ur", "420"},
      {"uz", "443"},    {"vi", "42a"},   {"yue", "c04"},  {"zh-yue", "c04"},
  };
  return codes;
}

std::vector<EspeakVoice> ListVoices() {
  std::lock_guard lock(EspeakMutex());
  std::vector<EspeakVoice> voices;
  if (InitialisedSampleRate() == 0) return voices;
  for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
    if (!(*voice)->name) continue;
    EspeakVoice entry;
    entry.name = (*voice)->name;
    entry.identifier = (*voice)->identifier ? (*voice)->identifier : "";
    // languages: a priority byte, a name and its terminating zero, repeated; the first is the
    // voice's own language.
    if ((*voice)->languages && (*voice)->languages[0]) entry.language = (*voice)->languages + 1;
    entry.token.description = Utf8ToGbk(entry.name);
    entry.token.language = EspeakSpeechEngine::LanguageCodeOf(entry.language);
    voices.push_back(std::move(entry));
  }
  return voices;
}

const std::vector<VoiceToken>& InstalledTokens() {
  static const std::vector<VoiceToken> tokens = [] {
    std::vector<VoiceToken> list;
    for (const auto& voice : EspeakSpeechEngine::InstalledVoices()) list.push_back(voice.token);
    return list;
  }();
  return tokens;
}

// A line of the text as espeak-ng takes it: UTF-8, and nothing when it holds no speech.
std::optional<std::string> SpeakableLine(std::string_view line) {
  if (line.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
  return GbkToUtf8(line);
}

void AppendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string MakeWavFile(int sampleRate, const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string wav;
  wav.reserve(44 + dataBytes);
  wav += "RIFF";
  AppendLittleEndian(wav, 36 + dataBytes, 4);
  wav += "WAVEfmt ";
  AppendLittleEndian(wav, 16, 4);  // format chunk size
  AppendLittleEndian(wav, 1, 2);   // PCM
  AppendLittleEndian(wav, 1, 2);   // mono
  AppendLittleEndian(wav, static_cast<uint32_t>(sampleRate), 4);
  AppendLittleEndian(wav, static_cast<uint32_t>(sampleRate) * 2, 4);  // bytes per second
  AppendLittleEndian(wav, 2, 2);                                      // block align
  AppendLittleEndian(wav, 16, 2);                                     // bits per sample
  wav += "data";
  AppendLittleEndian(wav, dataBytes, 4);
  for (int16_t sample : samples) AppendLittleEndian(wav, static_cast<uint16_t>(sample), 2);
  return wav;
}

const std::vector<EspeakVoice>& EspeakSpeechEngine::InstalledVoices() {
  static const std::vector<EspeakVoice> voices = ListVoices();
  return voices;
}

std::string EspeakSpeechEngine::LanguageCodeOf(std::string_view espeakLanguage) {
  const std::string language = Lower(espeakLanguage);
  const std::string primary = language.substr(0, language.find('-'));
  if (primary == "cmn" || language.starts_with("zh-cmn") || language == "zh") return kChineseLanguageCode;
  if (primary == "en") return kEnglishLanguageCode;
  const auto& codes = LanguageCodes();
  if (auto found = codes.find(language); found != codes.end()) return found->second;
  // A regional tag without its own entry ("fr-fr", "vi-vn-x-south") takes its language's code.
  for (std::string tag = language; tag.find('-') != std::string::npos;) {
    tag.erase(tag.rfind('-'));
    if (auto found = codes.find(tag); found != codes.end()) return found->second;
  }
  return {};
}

size_t EspeakSpeechEngine::DefaultVoice() {
  const auto& voices = InstalledVoices();
  for (size_t i = 0; i < voices.size(); ++i)
    if (Lower(voices[i].language) == "en-us") return i;
  for (size_t i = 0; i < voices.size(); ++i)
    if (voices[i].token.language == kEnglishLanguageCode) return i;
  return 0;
}

int EspeakSpeechEngine::EspeakRate(int rate) {
  const double wordsPerMinute = 175.0 * std::pow(3.0, std::clamp(rate, kMinimumSpeechRate, kMaximumSpeechRate) / 10.0);
  return std::clamp(static_cast<int>(std::lround(wordsPerMinute)), 80, 450);
}

int EspeakSpeechEngine::EspeakVolume(int volume) { return std::clamp(volume, 0, kMaximumSpeechVolume); }

int EspeakSpeechEngine::SampleRate() {
  std::lock_guard lock(EspeakMutex());
  return InitialisedSampleRate();
}

Status EspeakSpeechEngine::SynthesisePieces(std::string_view text, const SpeechSettings& settings,
                                            const PieceSink& piece, const std::function<bool()>& cancelled) {
  const auto& voices = InstalledVoices();
  if (voices.empty()) return Error{"语音引擎 espeak-ng 无法启动（没有语音数据）"};
  if (settings.voice >= voices.size()) return Error{"没有第 " + std::to_string(settings.voice) + " 个语音"};
  const std::string& voiceName = voices[settings.voice].name;
  for (const std::string& line : SplitLines(text)) {
    std::optional<std::string> utf8 = SpeakableLine(line);
    if (!utf8) continue;
    if (cancelled && cancelled()) return Status::Ok();
    std::vector<int16_t> samples;
    {
      std::lock_guard lock(EspeakMutex());
      if (InitialisedSampleRate() == 0) return Error{"语音引擎 espeak-ng 无法启动"};
      if (espeak_SetVoiceByName(voiceName.c_str()) != EE_OK) return Error{"无法选择语音 " + voiceName};
      espeak_SetParameter(espeakRATE, EspeakRate(settings.rate), 0);
      espeak_SetParameter(espeakVOLUME, EspeakVolume(settings.volume), 0);
      PieceCollector collector;
      collector.cancelled = &cancelled;
      if (espeak_Synth(utf8->c_str(), utf8->size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                       &collector) != EE_OK)
        return Error{"语音引擎 espeak-ng 无法朗读"};
      // No callback comes after this returns; the collector may then go.
      espeak_Synchronize();
      samples = collector.Take();
    }
    if (cancelled && cancelled()) return Status::Ok();
    if (!samples.empty() && !piece(std::move(samples))) return Status::Ok();
  }
  return Status::Ok();
}

Result<SynthesisedSpeech> EspeakSpeechEngine::Synthesise(std::string_view text, const SpeechSettings& settings) {
  SynthesisedSpeech speech;
  speech.sampleRate = SampleRate();
  Status status = SynthesisePieces(text, settings, [&](std::vector<int16_t> samples) {
    speech.samples.insert(speech.samples.end(), samples.begin(), samples.end());
    return true;
  });
  if (!status) return Error{status.message()};
  return speech;
}

// The engine's state. Fields marked "main thread" are touched only there; the worker shares
// only the job slot (under `mutex`) and the cancel mark (atomic).
struct EspeakSpeechEngine::Core {
  Core(AudioOutput& audio, MainThreadPost mainThreadPost) : output(audio), post(std::move(mainThreadPost)) {}

  AudioOutput& output;
  const MainThreadPost post;
  std::weak_ptr<Core> self;  // set at construction, before the worker starts

  struct Text {
    StreamNumber stream = 0;
    std::string text;
    SpeechSettings settings;
  };
  struct Current {
    StreamNumber stream = 0;
    std::deque<std::string> readyWavs;  // synthesised lines waiting to be played
    bool synthesisDone = false;
    bool playing = false;
    bool cutShort = false;  // stop or skip: nothing more is played
  };

  // Main thread.
  SpeechSettings settings;
  EndOfStream endOfStream;
  std::deque<Text> queue;
  std::optional<Current> current;
  StreamNumber lastStream = 0;

  // Shared with the worker.
  std::mutex mutex;
  std::condition_variable wake;
  std::optional<Text> job;  // guarded by mutex
  bool quit = false;        // guarded by mutex
  std::atomic<StreamNumber> cancelledUpTo{0};
  std::thread worker;

  template <typename Work>
  void PostToMain(Work work) {
    post([weak = self, work = std::move(work)]() mutable {
      if (auto core = weak.lock()) work(*core);
    });
  }

  void RunWorker() {
    const int sampleRate = SampleRate();
    for (;;) {
      Text text;
      {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return quit || job.has_value(); });
        if (quit) return;
        text = std::move(*job);
        job.reset();
      }
      const StreamNumber stream = text.stream;
      auto cancelled = [this, stream] { return cancelledUpTo.load() >= stream; };
      SynthesisePieces(
          text.text, text.settings,
          [&](std::vector<int16_t> samples) {
            PostToMain([stream, wav = MakeWavFile(sampleRate, samples)](Core& core) mutable {
              core.OnPiece(stream, std::move(wav));
            });
            return !cancelled();
          },
          cancelled);
      PostToMain([stream](Core& core) { core.OnSynthesisEnd(stream); });
    }
  }

  bool IsCurrent(StreamNumber stream) const { return current && current->stream == stream; }

  void StartNext() {
    if (current || queue.empty()) return;
    current.emplace();
    current->stream = queue.front().stream;
    {
      std::lock_guard lock(mutex);
      job = std::move(queue.front());
    }
    queue.pop_front();
    wake.notify_one();
  }

  void OnPiece(StreamNumber stream, std::string wav) {
    if (!IsCurrent(stream) || current->cutShort) return;
    current->readyWavs.push_back(std::move(wav));
    if (!current->playing) PlayNextPiece();
  }

  void PlayNextPiece() {
    std::string wav = std::move(current->readyWavs.front());
    current->readyWavs.pop_front();
    current->playing = true;
    output.PlayWav(std::move(wav), [weak = self, stream = current->stream](const PlaybackOutcome&) {
      if (auto core = weak.lock()) core->OnPiecePlayed(stream);
    });
  }

  void OnPiecePlayed(StreamNumber stream) {
    if (!IsCurrent(stream)) return;
    current->playing = false;
    if (!current->cutShort && !current->readyWavs.empty())
      PlayNextPiece();
    else if (current->synthesisDone)
      Finish();
  }

  void OnSynthesisEnd(StreamNumber stream) {
    if (!IsCurrent(stream)) return;
    current->synthesisDone = true;
    if (!current->playing) Finish();
  }

  void Finish() {
    const StreamNumber stream = current->stream;
    current.reset();
    // Keep ourselves alive while the handler runs: it may destroy the engine.
    auto keep = self.lock();
    if (endOfStream) endOfStream(stream);
    StartNext();
  }

  void CutCurrent() {
    if (!current) return;
    current->cutShort = true;
    current->readyWavs.clear();
    cancelledUpTo = current->stream;
    if (current->playing) output.Stop();
    // The end follows from the stopped playback or from the abandoned synthesis.
  }
};

EspeakSpeechEngine::EspeakSpeechEngine(AudioOutput& output, MainThreadPost post)
    : m_core(std::make_shared<Core>(output, std::move(post))) {
  m_core->self = m_core;
  m_core->settings.voice = DefaultVoice();
  m_core->worker = std::thread([core = m_core.get()] { core->RunWorker(); });
}

EspeakSpeechEngine::~EspeakSpeechEngine() {
  m_core->cancelledUpTo = m_core->lastStream;
  {
    std::lock_guard lock(m_core->mutex);
    m_core->quit = true;
  }
  m_core->wake.notify_one();
  m_core->worker.join();
  if (m_core->current && m_core->current->playing) m_core->output.Stop();
}

const std::vector<VoiceToken>& EspeakSpeechEngine::Voices() const { return InstalledTokens(); }

Status EspeakSpeechEngine::SetVoice(size_t index) {
  if (index >= InstalledVoices().size()) return Error{"没有第 " + std::to_string(index) + " 个语音"};
  m_core->settings.voice = index;
  return Status::Ok();
}

std::optional<size_t> EspeakSpeechEngine::Voice() const {
  if (InstalledVoices().empty()) return std::nullopt;
  return m_core->settings.voice;
}

int EspeakSpeechEngine::Rate() const { return m_core->settings.rate; }
void EspeakSpeechEngine::SetRate(int rate) { m_core->settings.rate = std::clamp(rate, kMinimumSpeechRate, kMaximumSpeechRate); }
int EspeakSpeechEngine::Volume() const { return m_core->settings.volume; }
void EspeakSpeechEngine::SetVolume(int volume) { m_core->settings.volume = std::clamp(volume, 0, kMaximumSpeechVolume); }

SpeechEngine::StreamNumber EspeakSpeechEngine::Speak(std::string text) {
  const StreamNumber stream = ++m_core->lastStream;
  m_core->queue.push_back(Core::Text{stream, std::move(text), m_core->settings});
  m_core->StartNext();
  return stream;
}

void EspeakSpeechEngine::Stop() {
  m_core->queue.clear();
  m_core->CutCurrent();
}

void EspeakSpeechEngine::Skip() { m_core->CutCurrent(); }

bool EspeakSpeechEngine::IsSpeaking() const { return m_core->current.has_value() || !m_core->queue.empty(); }

void EspeakSpeechEngine::SetEndOfStreamHandler(EndOfStream handler) { m_core->endOfStream = std::move(handler); }

}  // namespace duvelin
