// The reader's two voices as the windows own them: English through the battle window's
// pronunciation service, under its read-aloud option; Chinese through the desktop word
// trainer's voice. Until the windows exist nothing is spoken.
#pragma once

#include "reader/speech_reading.h"

namespace duvelin {

class TForm_chinese;
class TForm_pop;

class WindowReadingVoices final : public ReadingVoices {
 public:
  void SetWindows(TForm_pop* battleWindow, TForm_chinese* trainer);

  bool EnglishReadAloudEnabled() const override;
  void PronounceEnglish(const std::string& text) override;
  void SpeakChinese(const std::string& text) override;
  void StopBothVoices() override;

 private:
  TForm_pop* m_battleWindow = nullptr;
  TForm_chinese* m_trainer = nullptr;
};

}  // namespace duvelin
