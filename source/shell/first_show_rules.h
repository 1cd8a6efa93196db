// The decisions the main window's first show takes from the English voice's description: the
// notice about a low-quality speech engine and switching online pronunciation off for voices
// that need no help. Letter case never matters. Doing what they say is the window's job.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/game_options.h"

namespace duvelin {

// Where a better speech engine can be had, named in the notice.
inline constexpr char kSpeechEngineDownloadAddress[] = "https://duvelin.invalid/voices/";

// The line (GBK) appended, after an empty line, to the reader's text when the voice is
// "Microsoft Sam"; nothing for any other voice.
std::optional<std::string> SpeechEngineNotice(std::string_view voiceDescription);

// True for "VW paul" and "VW kate": their own recordings make online pronunciation needless.
bool VoiceTurnsOffOnlinePronunciation(std::string_view voiceDescription);

// Applies that rule to the in-memory options record only (the settings file is not rewritten).
void ApplyVoicePronunciationRule(std::string_view voiceDescription, TGameOptions& options);

// The description of the English voice chosen in the settings: the entry at `index` of the
// installed voices, the first one when the index is out of range, empty when there is none.
std::string SelectedVoiceDescription(const std::vector<std::string>& descriptions, int32_t index);

}  // namespace duvelin
