// The voice operations the program uses: the installed voices with their descriptions and
// "Language" attributes, the voice, rate and volume of later speech, asynchronous queued
// speaking, stop with purge, skip, and one end-of-stream notification per spoken text on the
// main thread. Which engine speaks, and how its sound reaches a device, is the implementation's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace duvelin {

// The "Language" attribute of Chinese (PRC) and English (United States) voices.
inline constexpr char kChineseLanguageCode[] = "804";
inline constexpr char kEnglishLanguageCode[] = "409";

inline constexpr int kMinimumSpeechRate = -10;
inline constexpr int kMaximumSpeechRate = 10;
inline constexpr int kMaximumSpeechVolume = 100;

struct VoiceToken {
  std::string description;  // the display name, GBK
  std::string language;     // "Language": a Windows language code in hexadecimal ("804"); empty when none
  bool operator==(const VoiceToken&) const = default;
};

class SpeechEngine {
 public:
  using StreamNumber = uint64_t;
  // Runs on the main thread, never inside a call of the engine, once for every text that was
  // spoken: when it has been heard to its end, or when stop or skip cut it short. Texts
  // dropped by a stop before they began report nothing.
  using EndOfStream = std::function<void(StreamNumber stream)>;

  virtual ~SpeechEngine() = default;

  // The installed voices, always in the same order (settings keep a position in it).
  virtual const std::vector<VoiceToken>& Voices() const = 0;
  // The voice of later speech; an error for an index that names no voice.
  virtual Status SetVoice(size_t index) = 0;
  virtual std::optional<size_t> Voice() const = 0;

  // -10..10 and 0..100, clamped; they apply to texts spoken after the call.
  virtual int Rate() const = 0;
  virtual void SetRate(int rate) = 0;
  virtual int Volume() const = 0;
  virtual void SetVolume(int volume) = 0;

  // Returns at once; the text (GBK) is spoken after everything queued before it.
  virtual StreamNumber Speak(std::string text) = 0;
  // Current speech ends at once and every queued text is dropped.
  virtual void Stop() = 0;
  // The rest of the current text is skipped; queued texts follow.
  virtual void Skip() = 0;
  // A text is being spoken or waits to be.
  virtual bool IsSpeaking() const = 0;

  virtual void SetEndOfStreamHandler(EndOfStream handler) = 0;
};

// The first voice whose "Language" attribute is exactly `language`.
inline std::optional<size_t> FirstVoiceWithLanguage(const SpeechEngine& engine, std::string_view language) {
  const auto& voices = engine.Voices();
  for (size_t i = 0; i < voices.size(); ++i)
    if (voices[i].language == language) return i;
  return std::nullopt;
}

// The first voice whose description is exactly `description` (GBK).
inline std::optional<size_t> FindVoiceByDescription(const SpeechEngine& engine, std::string_view description) {
  const auto& voices = engine.Voices();
  for (size_t i = 0; i < voices.size(); ++i)
    if (voices[i].description == description) return i;
  return std::nullopt;
}

}  // namespace duvelin
