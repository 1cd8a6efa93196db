#include "shell/first_show_rules.h"

#include "common/gbk_text.h"
#include "common/settings_file.h"

namespace duvelin {

std::optional<std::string> SpeechEngineNotice(std::string_view voiceDescription) {
  if (!NamesEqual(voiceDescription, "Microsoft Sam")) return std::nullopt;
  return Utf8ToGbk(std::string("当前您电脑的语音朗读引擎质量不高，可从 ") + kSpeechEngineDownloadAddress +
                   " 下载优质语音引擎。");
}

bool VoiceTurnsOffOnlinePronunciation(std::string_view voiceDescription) {
  return NamesEqual(voiceDescription, "VW paul") || NamesEqual(voiceDescription, "VW kate");
}

void ApplyVoicePronunciationRule(std::string_view voiceDescription, TGameOptions& options) {
  if (VoiceTurnsOffOnlinePronunciation(voiceDescription)) options.speech.yodao_sound = 0;
}

std::string SelectedVoiceDescription(const std::vector<std::string>& descriptions, int32_t index) {
  if (descriptions.empty()) return {};
  if (index < 0 || static_cast<size_t>(index) >= descriptions.size()) return descriptions.front();
  return descriptions[static_cast<size_t>(index)];
}

}  // namespace duvelin
