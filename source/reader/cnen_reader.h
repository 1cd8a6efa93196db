// The bilingual document: an English text and its Chinese translation, the lines the reading
// view shows in each display mode, and the map from a position in the shown text back to a line,
// a sentence or a word and to the partner paragraph. It never touches the view: operations
// return what the view must now show, and the view sets its text from that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "common/result.h"

namespace duvelin {

// What the view shows; the numbers are the stored mode byte.
enum class DisplayMode : std::uint8_t {
  English = 0,       // enText
  Chinese = 1,       // cnText
  EnglishFirst = 2,  // line i of enLines, then line i of cnLines
  ChineseFirst = 3,  // line i of cnLines, then line i of enLines
};

enum class Language : std::uint8_t { English = 0, Chinese = 1 };

// An offset and a length in the shown text, in GBK bytes with every line break counted as two.
struct TextSpan {
  std::int32_t start = 0;
  std::int32_t length = 0;
  bool operator==(const TextSpan&) const = default;
};

struct LocatedLine {
  bool found = false;     // false when the position lies beyond the shown text (or below 0)
  std::string text;       // the line; empty when not found (or when the line is empty)
  std::int32_t rest = 0;  // characters from the position to the end of the line: 0 at its end,
                          // -1 on the second character of the line break
};

// What the view puts in place of view line `shownLine` when a paragraph switches language.
struct CounterpartLine {
  std::int32_t shownLine = 0;
  std::string text;
  bool operator==(const CounterpartLine&) const = default;
};

class Tcnen_reader {
 public:
  // The document's fields, read-only; the operations below change them.
  const std::string& enText() const { return m_enText; }
  const std::string& cnText() const { return m_cnText; }
  const LineList& enLines() const { return m_enLines; }
  const LineList& cnLines() const { return m_cnLines; }
  DisplayMode mode() const { return m_mode; }
  std::int32_t spanStart() const { return m_spanStart; }
  std::int32_t spanLength() const { return m_spanLength; }
  std::int32_t lineIndex() const { return m_lineIndex; }
  std::int32_t shownLine() const { return m_shownLine; }
  Language spanLanguage() const { return m_spanLanguage; }

  void SetChinese(std::string text);
  void SetEnglish(std::string text);
  const std::string& ChineseText() const { return m_cnText; }
  const std::string& EnglishText() const { return m_enText; }
  bool IsChineseShown() const { return m_mode == DisplayMode::Chinese; }

  // Opening a material: both texts replaced, mode back to English. Returns the view lines.
  // The span fields keep their values until the next locate operation.
  LineList Refill(std::string english, std::string chinese);

  // The lines the view shows in `mode` (the layout of the display-mode table), and in the
  // current mode.
  LineList ViewLines(DisplayMode mode) const;
  LineList ViewLines() const { return ViewLines(m_mode); }

  // English → Chinese; any other mode → English. Returns the lines the view must now show.
  LineList ToggleWhole();
  // English first → Chinese first → English; English or Chinese → English first. Returns the
  // lines the view must now show (the view replaces all of its text with them).
  LineList CycleInterleave();

  // The line of the current mode's view lines that holds `position`; sets spanStart,
  // spanLength, lineIndex, shownLine and spanLanguage to it when found, changes nothing
  // otherwise.
  LocatedLine LocateLine(std::int32_t position);

  // The sentence around `position` (empty when the position lies on no line or on an empty
  // line); the span becomes the sentence.
  std::string SentenceAt(std::int32_t position);

  // The word (ASCII letters, digits, "_") at `position`; the span becomes the word. Nothing,
  // and the span unchanged, when there is no word there.
  std::optional<std::string> WordSpanAt(std::int32_t position);

  TextSpan LastSpan() const { return {m_spanStart, m_spanLength}; }

  // The partner of the line at `position` in the wanted language, for the view to put in place
  // of view line `shownLine`. Nothing when the located line is empty or there is none. An error
  // when the other language has no line at that index (parts of unequal length); the view line
  // then stays as it is. Locating the line updates the span fields as LocateLine does; texts
  // and mode stay unchanged.
  Result<std::optional<CounterpartLine>> Counterpart(std::int32_t position, Language wanted);

 private:
  std::string m_enText;
  std::string m_cnText;
  LineList m_enLines;
  LineList m_cnLines;
  DisplayMode m_mode = DisplayMode::English;
  std::int32_t m_spanStart = 0;
  std::int32_t m_spanLength = 0;
  std::int32_t m_lineIndex = 0;
  std::int32_t m_shownLine = 0;
  Language m_spanLanguage = Language::English;
};

}  // namespace duvelin
