#include "shell/qt/window_reading_voices.h"

#include "battle/pronunciation.h"
#include "battle/qt/battle_window.h"
#include "trainer/qt/trainer_window.h"

namespace duvelin {

void WindowReadingVoices::SetWindows(TForm_pop* battleWindow, TForm_chinese* trainer) {
  m_battleWindow = battleWindow;
  m_trainer = trainer;
}

bool WindowReadingVoices::EnglishReadAloudEnabled() const {
  return m_battleWindow && m_battleWindow->Pronouncer() && m_battleWindow->ReadAloudEnabled();
}

void WindowReadingVoices::PronounceEnglish(const std::string& text) {
  if (EnglishReadAloudEnabled()) m_battleWindow->Pronouncer()->PronounceWord(text);
}

void WindowReadingVoices::SpeakChinese(const std::string& text) {
  if (m_trainer) m_trainer->SpeakChinese(text);
}

void WindowReadingVoices::StopBothVoices() {
  if (m_battleWindow && m_battleWindow->Pronouncer()) m_battleWindow->Pronouncer()->StopSpeaking();
  if (m_trainer) m_trainer->StopChinese();
}

}  // namespace duvelin
