// Reading aloud in the reader: the word (F2), the sentence (F5) and the paragraph (F4) at the
// current position and the whole text, English or Chinese by the text's first character, with
// the span read selected in the view as the highlight until the end of speech, and the
// full-text button's caption "全文朗读" / "停止". The view supplies positions and the picked
// word and shows the selection; the voices are reached through ReadingVoices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reader/cnen_reader.h"
#include "settings/game_options.h"

namespace duvelin {

inline constexpr char kReadAllCaption[] = "全文朗读";  // UTF-8
inline constexpr char kStopReadingCaption[] = "停止";

// The reading view as speech reading uses it.
class SpeechReadingView {
 public:
  virtual ~SpeechReadingView() = default;
  // Selects `span.length` characters from `span.start`, both in the document's positions
  // (GBK bytes, a line break counted as two), as the highlight.
  virtual void SelectSpan(TextSpan span) = 0;
  // Selection length 0; the caret stays at the selection's start.
  virtual void CollapseSelection() = 0;
  virtual void SetReadAllCaption(std::string_view caption) = 0;  // UTF-8
};

// The two voices: English through the pronunciation service of the battle window, Chinese
// through the desktop word trainer's voice.
class ReadingVoices {
 public:
  virtual ~ReadingVoices() = default;
  // The battle window's read-aloud option (off in its reverse-learning mode).
  virtual bool EnglishReadAloudEnabled() const = 0;
  virtual void PronounceEnglish(const std::string& text) = 0;  // GBK
  virtual void SpeakChinese(const std::string& text) = 0;      // nothing without a Chinese voice
  // Both voices end their speech and drop what is queued.
  virtual void StopBothVoices() = 0;
};

enum class TextSelected { No, Yes };

class SpeechReading {
 public:
  // `options` is read live: langdu_gaoliang turns the highlight on.
  SpeechReading(Tcnen_reader& document, SpeechReadingView& view, ReadingVoices& voices, const GeneralOptions& options);

  // F2. `pickedWord` (GBK) is the selection when text is selected, else the word at the caret
  // or under the mouse (the view's picking rules); `position` the current position.
  void ReadWord(std::int32_t position, const std::string& pickedWord, TextSelected selection);
  // F5 and F4.
  void ReadSentence(std::int32_t position);
  void ReadParagraph(std::int32_t position);
  // The button "全文朗读" / "停止".
  void ReadAllOrStop();
  // On every MSG_SPEECH_DONE, from either voice or a recording (the trainer calls it first).
  void EndOfReading();

  bool IsReading() const { return m_reading; }
  std::string_view Caption() const { return m_reading ? kStopReadingCaption : kReadAllCaption; }

  // English is a text whose first character is a blank, "'", a digit or an ASCII letter.
  static bool IsEnglishText(std::string_view text);

 private:
  void SpeakWithHighlight(const std::string& text, bool highlightWanted);
  void SetReading(bool reading);
  bool HighlightOn() const { return m_options.langdu_gaoliang != 0; }

  Tcnen_reader& m_document;
  SpeechReadingView& m_view;
  ReadingVoices& m_voices;
  const GeneralOptions& m_options;
  bool m_reading = false;
};

}  // namespace duvelin
