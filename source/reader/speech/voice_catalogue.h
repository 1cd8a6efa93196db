// The installed voices as the settings know them: one description text per voice, in the
// order the speech engine lists them (the settings' game_tts_index points into this list).
// VoiceCatalogue lists espeak-ng's voices; speaking is the speech engine's job.
#pragma once

#include <string>
#include <vector>

namespace duvelin {

class VoiceListing {
 public:
  virtual ~VoiceListing() = default;
  // Descriptions, GBK (espeak-ng's names are ASCII).
  virtual std::vector<std::string> VoiceDescriptions() = 0;
};

class VoiceCatalogue final : public VoiceListing {
 public:
  // espeak-ng is set up once per process, in retrieval mode, so no sound device is needed.
  // Empty when espeak-ng cannot start (no voice data).
  std::vector<std::string> VoiceDescriptions() override;
};

}  // namespace duvelin
