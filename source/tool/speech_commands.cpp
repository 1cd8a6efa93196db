// duvelin-tool voices and say: the installed voices as the speech engine lists them, and a
// text synthesised into a WAV file by the same engine code the program speaks with.
#include <cstdio>
#include <optional>
#include <string>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/settings_file.h"
#include "reader/speech/espeak_speech_engine.h"
#include "tool/tool_commands.h"

namespace duvelin::tool {
namespace {

constexpr const char* kVoicesUsage =
    "usage: duvelin-tool voices\n"
    "\n"
    "Prints the installed voices in the speech engine's order, one per line:\n"
    "<index> <Language> <description>. Language is the voice's language code in hexadecimal\n"
    "(804 Chinese, 409 English), \"-\" when it has none.\n";

constexpr const char* kSayUsage =
    "usage: duvelin-tool say [--voice INDEX] [--rate R] [--volume V] --wav FILE TEXT...\n"
    "\n"
    "Synthesises TEXT (UTF-8; several words are joined with blanks) with the voice at INDEX of\n"
    "'duvelin-tool voices' (default: American English), rate R (-10..10, default 0) and\n"
    "volume V (0..100, default 100), and writes it to FILE as a 16-bit mono PCM WAV.\n";

int Fail(const char* command, const std::string& message) {
  std::fprintf(stderr, "duvelin-tool %s: %s\n", command, message.c_str());
  return 2;
}

bool IsHelp(const Arguments& args) {
  for (const auto& arg : args)
    if (arg == "--help" || arg == "-h") return true;
  return false;
}

std::optional<int> IntegerIn(const std::string& text, int low, int high) {
  std::optional<int32_t> value = ParseInteger(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return *value;
}

}  // namespace

int RunVoicesCommand(const Arguments& args) {
  if (IsHelp(args)) {
    std::fputs(kVoicesUsage, stdout);
    return 0;
  }
  if (!args.empty()) return Fail("voices", "takes no arguments (try --help)");
  const auto& voices = EspeakSpeechEngine::InstalledVoices();
  if (voices.empty()) return Fail("voices", "espeak-ng cannot start (is espeak-ng-data installed?)");
  for (size_t i = 0; i < voices.size(); ++i) {
    const VoiceToken& token = voices[i].token;
    std::printf("%zu %s %s\n", i, token.language.empty() ? "-" : token.language.c_str(),
                GbkToUtf8(token.description).c_str());
  }
  return 0;
}

int RunSayCommand(const Arguments& args) {
  if (IsHelp(args)) {
    std::fputs(kSayUsage, stdout);
    return 0;
  }
  SpeechSettings settings;
  settings.voice = EspeakSpeechEngine::DefaultVoice();
  std::string wavFile, text;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--voice" || arg == "--rate" || arg == "--volume" || arg == "--wav") {
      if (!hasValue) return Fail("say", arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--wav") {
        wavFile = value;
        continue;
      }
      const auto& voices = EspeakSpeechEngine::InstalledVoices();
      std::optional<int> number = arg == "--voice"  ? IntegerIn(value, 0, static_cast<int>(voices.size()) - 1)
                                  : arg == "--rate" ? IntegerIn(value, kMinimumSpeechRate, kMaximumSpeechRate)
                                                    : IntegerIn(value, 0, kMaximumSpeechVolume);
      if (!number) return Fail("say", "bad value for " + arg + ": '" + value + "'");
      if (arg == "--voice") settings.voice = static_cast<size_t>(*number);
      if (arg == "--rate") settings.rate = *number;
      if (arg == "--volume") settings.volume = *number;
    } else if (arg.starts_with("--")) {
      return Fail("say", "unknown option " + arg + " (try --help)");
    } else {
      text += (text.empty() ? "" : " ") + arg;
    }
  }
  if (wavFile.empty()) return Fail("say", "--wav FILE is required (try --help)");
  if (text.empty()) return Fail("say", "no text to say");
  Result<SynthesisedSpeech> speech = EspeakSpeechEngine::Synthesise(Utf8ToGbk(text), settings);
  if (!speech) return Fail("say", speech.message());
  Status written = WriteFileAtomically(wavFile, MakeWavFile(speech->sampleRate, speech->samples));
  if (!written) return Fail("say", written.message());
  std::printf("%zu samples at %d Hz (%.2f s) written to %s\n", speech->samples.size(), speech->sampleRate,
              speech->sampleRate ? static_cast<double>(speech->samples.size()) / speech->sampleRate : 0.0,
              wavFile.c_str());
  return 0;
}

}  // namespace duvelin::tool
