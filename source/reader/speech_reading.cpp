#include "reader/speech_reading.h"

namespace duvelin {
namespace {

bool IsAsciiLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

SpeechReading::SpeechReading(Tcnen_reader& document, SpeechReadingView& view, ReadingVoices& voices,
                             const GeneralOptions& options)
    : m_document(document), m_view(view), m_voices(voices), m_options(options) {}

bool SpeechReading::IsEnglishText(std::string_view text) {
  if (text.empty()) return false;
  const char first = text.front();
  return first == ' ' || first == '\'' || IsAsciiLetterOrDigit(first);
}

void SpeechReading::ReadWord(std::int32_t position, const std::string& pickedWord, TextSelected selection) {
  if (pickedWord.empty()) return;
  const char first = pickedWord.front();
  bool spanFound = false;
  if (IsAsciiLetterOrDigit(first) || first == '_') spanFound = m_document.WordSpanAt(position).has_value();
  SetReading(true);
  SpeakWithHighlight(pickedWord, selection == TextSelected::No && spanFound);
}

void SpeechReading::ReadSentence(std::int32_t position) {
  SetReading(true);
  const std::string sentence = m_document.SentenceAt(position);
  SpeakWithHighlight(sentence, true);
}

void SpeechReading::ReadParagraph(std::int32_t position) {
  const std::string line = m_document.LocateLine(position).text;
  SetReading(true);
  SpeakWithHighlight(line, true);
}

void SpeechReading::SpeakWithHighlight(const std::string& text, bool highlightWanted) {
  if (highlightWanted && HighlightOn()) {
    const TextSpan span = m_document.LastSpan();
    if (span.length > 0) m_view.SelectSpan(span);
  }
  if (text.empty()) return;
  if (IsEnglishText(text)) {
    if (m_voices.EnglishReadAloudEnabled()) m_voices.PronounceEnglish(text);
  } else {
    m_voices.SpeakChinese(text);
  }
}

void SpeechReading::ReadAllOrStop() {
  if (m_reading) {
    m_voices.StopBothVoices();
    SetReading(false);
    return;
  }
  if (m_document.IsChineseShown())
    m_voices.SpeakChinese(m_document.ChineseText());
  else if (m_voices.EnglishReadAloudEnabled())
    m_voices.PronounceEnglish(m_document.EnglishText());
  SetReading(true);
}

void SpeechReading::EndOfReading() {
  if (HighlightOn()) m_view.CollapseSelection();
  SetReading(false);
}

void SpeechReading::SetReading(bool reading) {
  m_reading = reading;
  m_view.SetReadAllCaption(Caption());
}

}  // namespace duvelin
