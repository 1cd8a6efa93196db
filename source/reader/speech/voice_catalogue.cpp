#include "reader/speech/voice_catalogue.h"

#include <espeak-ng/speak_lib.h>

#include <mutex>

#include "common/gbk_text.h"

namespace duvelin {
namespace {

bool InitialiseEspeak() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ready = espeak_Initialize(AUDIO_OUTPUT_RETRIEVAL, 0, nullptr, 0) > 0;
  });
  return ready;
}

}  // namespace

std::vector<std::string> VoiceCatalogue::VoiceDescriptions() {
  std::vector<std::string> descriptions;
  if (!InitialiseEspeak()) return descriptions;
  const espeak_VOICE** voices = espeak_ListVoices(nullptr);
  for (; voices && *voices; ++voices)
    if ((*voices)->name) descriptions.push_back(Utf8ToGbk((*voices)->name));
  return descriptions;
}

}  // namespace duvelin
