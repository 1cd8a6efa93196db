// The reader's two voices as the program wires them: English through the pronunciation service
// (only while the battle window's read-aloud option is on), Chinese through the desktop word
// trainer, and "停止" stopping the English voice and the Chinese one.
#pragma once

#include <functional>

#include "battle/pronunciation.h"
#include "reader/speech/speech_engine.h"
#include "reader/speech_reading.h"
#include "trainer/desktop_trainer.h"

namespace duvelin {

class TrainerReadingVoices final : public ReadingVoices {
 public:
  // `readAloudEnabled` answers the battle window's read-aloud option.
  TrainerReadingVoices(WordPronouncer& english, SpeechEngine& englishVoice, DesktopTrainer& trainer,
                       std::function<bool()> readAloudEnabled)
      : m_english(english), m_englishVoice(englishVoice), m_trainer(trainer), m_enabled(std::move(readAloudEnabled)) {}

  bool EnglishReadAloudEnabled() const override { return !m_enabled || m_enabled(); }
  void PronounceEnglish(const std::string& text) override { m_english.PronounceWord(text); }
  void SpeakChinese(const std::string& text) override { m_trainer.SpeakChinese(text); }
  void StopBothVoices() override {
    m_englishVoice.Stop();
    m_trainer.StopChinese();
  }

 private:
  WordPronouncer& m_english;
  SpeechEngine& m_englishVoice;
  DesktopTrainer& m_trainer;
  std::function<bool()> m_enabled;
};

}  // namespace duvelin
