#include "trainer/desktop_trainer.h"

namespace duvelin {
namespace {

// The first "，" (full-width comma) that starts a character of the GBK text.
size_t FindFullWidthComma(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 >= text.size()) {
      ++i;
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (trail >= 0x30 && trail <= 0x39) {  // a four-byte GB18030 character
      i += 4;
      continue;
    }
    if (lead == 0xA3 && trail == 0xAC) return i;
    i += 2;
  }
  return std::string_view::npos;
}

}  // namespace

DesktopTrainer::DesktopTrainer(ProgramFolder folder, Scheduler& scheduler, SpeechEngine& chineseVoice,
                               WordPronouncer& english, WordLibraryState& words, TrainerDisplay& display,
                               MessagePoster& poster, Prompter& prompter, Random& random, GeneralOptions& options)
    : m_folder(std::move(folder)),
      m_scheduler(scheduler),
      m_chineseVoice(chineseVoice),
      m_englishPronouncer(english),
      m_words(words),
      m_display(display),
      m_poster(poster),
      m_prompter(prompter),
      m_random(random),
      m_generalOptions(options) {
  m_options = TrainerOptions::Load(m_folder);
  if (auto voice = FirstVoiceWithLanguage(m_chineseVoice, kChineseLanguageCode)) {
    m_chineseVoicePresent = m_chineseVoice.SetVoice(*voice).ok();
  }
  m_chineseSpeaking = m_chineseVoicePresent && m_options.IsOn(TrainerOption::SpeakChinese);
  m_chineseVoice.SetEndOfStreamHandler([this](SpeechEngine::StreamNumber) {
    m_poster.Post(MessageTarget::Trainer, PrivateMessage{MSG_SPEECH_DONE, SPEECH_DONE_WPARAM, 0});
  });
}

DesktopTrainer::~DesktopTrainer() {
  StopCycle();
  m_chineseVoice.SetEndOfStreamHandler({});
}

void DesktopTrainer::Show() {
  m_window = TrainerWindowState::Shown;
  StartCycle();
}

void DesktopTrainer::Close() {
  m_window = TrainerWindowState::Closed;
  StopCycle();
}

void DesktopTrainer::Hide() {
  if (m_window == TrainerWindowState::Shown) m_window = TrainerWindowState::Hidden;
}

void DesktopTrainer::ShowGameWindow() {
  m_poster.Post(MessageTarget::MainWindow, PrivateMessage{MSG_TRAY_NOTIFY, 0, TRAY_LEFT_DOWN});
}

void DesktopTrainer::CloseForThisRun() {
  m_prompter.Inform(kClosedNotice, kClosedNoticeCaption);
  m_generalOptions.desktop_word = 0;
  Close();
}

void DesktopTrainer::TogglePause() { m_paused = !m_paused; }

Status DesktopTrainer::ToggleOption(TrainerOption option) {
  m_options.Flip(option);
  return m_options.Save(m_folder);
}

void DesktopTrainer::SpeakChinese(const std::string& text) {
  if (m_chineseVoicePresent) m_chineseVoice.Speak(text);
}

void DesktopTrainer::StopChinese() { m_chineseVoice.Stop(); }

void DesktopTrainer::StartCycle() {
  if (m_timer) return;
  m_timer = m_scheduler.RunEvery(kTrainerTickMs, [this] { Tick(); });
}

void DesktopTrainer::StopCycle() {
  if (!m_timer) return;
  m_scheduler.Cancel(*m_timer);
  m_timer.reset();
}

void DesktopTrainer::Tick() {
  if (m_paused) return;
  if (m_countdown > 0) {
    --m_countdown;
    return;
  }
  StopCycle();
  ShowNextWord();
}

std::string DesktopTrainer::ShortMeaning(std::string_view chinese) {
  if (chinese.size() <= kShortMeaningLength) return std::string(chinese);
  size_t cut = chinese.find(' ');
  if (cut == std::string_view::npos) cut = FindFullWidthComma(chinese);
  return std::string(chinese.substr(0, cut));
}

void DesktopTrainer::ShowNextWord() {
  std::string entry;
  const WordLibrary& library = m_words.Library();
  if (!library.Empty()) {
    const size_t index = m_words.PickNextWord();
    if (index < library.Size()) entry = library.Line(index);
  }
  const size_t equals = entry.find('=');
  m_english = equals == std::string::npos ? std::string() : entry.substr(0, equals);
  m_chinese = CutText(equals == std::string::npos ? std::string_view(entry) : std::string_view(entry).substr(equals + 1),
                      kTrainerChineseMaxLength);
  m_display.ShowWord(m_english, m_chinese);

  const bool spellsLetters = m_chineseVoicePresent && m_options.IsOn(TrainerOption::SpeakLetters);
  if (spellsLetters) m_chineseVoice.Speak(m_english);
  m_pendingEnglish = m_english;
  const std::string spoken = m_options.IsOn(TrainerOption::WholeChinese) ? m_chinese : ShortMeaning(m_chinese);
  if (m_chineseSpeaking && m_options.IsOn(TrainerOption::SpeakChinese) && !spoken.empty()) m_pendingChinese = spoken;
  if (!spellsLetters) {
    // Nothing was started whose end would carry the chain on: the English word starts it.
    std::string word = std::move(m_pendingEnglish);
    m_pendingEnglish.clear();
    m_englishPronouncer.PronounceWord(word);
  }
}

void DesktopTrainer::OnSpeechDone(intptr_t wParam) {
  if (m_endOfReading) m_endOfReading();
  if (wParam != SPEECH_DONE_WPARAM) return;
  if (!m_pendingEnglish.empty()) {
    std::string word = std::move(m_pendingEnglish);
    m_pendingEnglish.clear();
    m_englishPronouncer.PronounceWord(word);
  } else if (!m_pendingChinese.empty()) {
    std::string meaning = std::move(m_pendingChinese);
    m_pendingChinese.clear();
    SpeakChinese(meaning);
  } else if (m_window != TrainerWindowState::Closed) {
    m_countdown = kTrainerPauseTicks;
    StartCycle();
    if (m_random.Below(3) == 0 && m_showTipsPage) m_showTipsPage();
  }
}

}  // namespace duvelin
