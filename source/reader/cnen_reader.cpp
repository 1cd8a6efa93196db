#include "reader/cnen_reader.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace duvelin {
namespace {

struct ViewLine {
  const std::string* text;
  Language language;
  std::int32_t index;  // in enLines or cnLines
};

// Calls `visit` with each view line of `mode` in view order until it returns true.
template <typename Visit>
void ForEachViewLine(const LineList& english, const LineList& chinese, DisplayMode mode, Visit visit) {
  auto visitList = [&](const LineList& lines, Language language) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (visit(ViewLine{&lines[i], language, static_cast<std::int32_t>(i)})) return;
  };
  switch (mode) {
    case DisplayMode::English:
      visitList(english, Language::English);
      return;
    case DisplayMode::Chinese:
      visitList(chinese, Language::Chinese);
      return;
    case DisplayMode::EnglishFirst:
    case DisplayMode::ChineseFirst: {
      const bool chineseFirst = mode == DisplayMode::ChineseFirst;
      const LineList& first = chineseFirst ? chinese : english;
      const LineList& second = chineseFirst ? english : chinese;
      const Language firstLanguage = chineseFirst ? Language::Chinese : Language::English;
      const Language secondLanguage = chineseFirst ? Language::English : Language::Chinese;
      const size_t count = std::max(english.size(), chinese.size());
      for (size_t i = 0; i < count; ++i) {
        const auto index = static_cast<std::int32_t>(i);
        if (i < first.size() && visit(ViewLine{&first[i], firstLanguage, index})) return;
        if (i < second.size() && visit(ViewLine{&second[i], secondLanguage, index})) return;
      }
      return;
    }
  }
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordCharacter(char c) { return IsUpper(c) || IsLower(c) || IsDigit(c) || c == '_'; }

// For every byte of the line, whether it belongs to a multi-byte GBK (GB18030) character.
std::vector<bool> DoubleByteMask(std::string_view line) {
  std::vector<bool> mask(line.size(), false);
  size_t i = 0;
  while (i < line.size()) {
    const auto lead = static_cast<unsigned char>(line[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= line.size()) {
      ++i;
      continue;
    }
    const auto second = static_cast<unsigned char>(line[i + 1]);
    const size_t width = (second >= 0x30 && second <= 0x39 && i + 3 < line.size()) ? 4 : 2;
    for (size_t j = i; j < i + width; ++j) mask[j] = true;
    i += width;
  }
  return mask;
}

// Whether 1-based index i of the line ends a sentence. Abbreviations (Mr., U.S., e.g.), numbers
// (3.5) and dotted names (item.number.) do not; neither does a period after a capitalised word
// of at most four letters (NASA., John.). Bytes are tested one by one, as the text counts them.
bool IsSentenceEnd(std::string_view line, size_t i) {
  const size_t length = line.size();
  const char c = line[i - 1];
  if (c == '!' || c == ';' || c == '?') return true;
  if (c != '.') return false;
  if (i < length) {
    const char next = line[i];
    if (next == ',' || IsDigit(next) || IsLower(next)) return false;
  }
  // The scans stop at the first blank; a "." anywhere before it, or an uppercase letter fewer
  // than five characters away, keeps the period from ending the sentence.
  for (size_t j = i - 1; j >= 1; --j) {
    const char b = line[j - 1];
    if (b == ' ') break;
    if (b == '.') return false;
    if (i - j <= 4 && IsUpper(b)) return false;
  }
  for (size_t j = i + 1; j <= length; ++j) {
    const char b = line[j - 1];
    if (b == ' ') break;
    if (b == '.') return false;
    if (j - i <= 4 && IsUpper(b)) return false;
  }
  return true;
}

// The number of characters of the line before the located position, as a 1-based index of the
// character just left of it (0 and a rest of 0 both count as 1). One past the line's end when
// the position sits on the second character of the line break.
size_t CharacterIndexBefore(const LocatedLine& located) {
  const std::int64_t rest = located.rest == 0 ? 1 : located.rest;
  std::int64_t k = static_cast<std::int64_t>(located.text.size()) - rest;
  if (k <= 0) k = 1;
  return static_cast<size_t>(k);
}

}  // namespace

void Tcnen_reader::SetChinese(std::string text) {
  m_cnText = std::move(text);
  m_cnLines = SplitLines(m_cnText);
}

void Tcnen_reader::SetEnglish(std::string text) {
  m_enText = std::move(text);
  m_enLines = SplitLines(m_enText);
}

LineList Tcnen_reader::Refill(std::string english, std::string chinese) {
  SetChinese(std::move(chinese));
  SetEnglish(std::move(english));
  m_mode = DisplayMode::English;
  return ViewLines();
}

LineList Tcnen_reader::ViewLines(DisplayMode mode) const {
  LineList lines;
  ForEachViewLine(m_enLines, m_cnLines, mode, [&](const ViewLine& line) {
    lines.push_back(*line.text);
    return false;
  });
  return lines;
}

LineList Tcnen_reader::ToggleWhole() {
  m_mode = m_mode == DisplayMode::English ? DisplayMode::Chinese : DisplayMode::English;
  return ViewLines();
}

LineList Tcnen_reader::CycleInterleave() {
  switch (m_mode) {
    case DisplayMode::EnglishFirst:
      m_mode = DisplayMode::ChineseFirst;
      break;
    case DisplayMode::ChineseFirst:
      m_mode = DisplayMode::English;
      break;
    case DisplayMode::English:
    case DisplayMode::Chinese:
      m_mode = DisplayMode::EnglishFirst;
      break;
  }
  return ViewLines();
}

// Positions map with the lengths of the current mode's own lines, also after single view lines
// were replaced by their partners. A position to the right of a line's end (the view lets the
// caret go there) counts on past the line break and so falls into a following line.
LocatedLine Tcnen_reader::LocateLine(std::int32_t position) {
  LocatedLine located;
  if (position < 0) return located;
  std::int64_t end = 0;
  std::int32_t shown = 0;
  ForEachViewLine(m_enLines, m_cnLines, m_mode, [&](const ViewLine& line) {
    const auto length = static_cast<std::int64_t>(line.text->size());
    end += length + 2;
    if (position < end) {
      located.found = true;
      located.text = *line.text;
      located.rest = static_cast<std::int32_t>(end - position - 2);
      m_lineIndex = line.index;
      m_shownLine = shown;
      m_spanLanguage = line.language;
      m_spanStart = static_cast<std::int32_t>(end - length - 2);
      m_spanLength = static_cast<std::int32_t>(length);
      return true;
    }
    ++shown;
    return false;
  });
  return located;
}

std::string Tcnen_reader::SentenceAt(std::int32_t position) {
  const LocatedLine located = LocateLine(position);
  if (located.text.empty()) return {};
  const std::string_view line = located.text;
  const size_t last = line.size();
  const size_t k = CharacterIndexBefore(located);

  size_t end = last;
  for (size_t i = k; i <= last; ++i) {
    if (IsSentenceEnd(line, i)) {
      end = i;
      break;
    }
  }
  // Index 1 is never tested; a sentence end at k belongs to the sentence returned.
  size_t start = 1;
  for (size_t j = std::min(k - 1, last); j >= 2; --j) {
    if (IsSentenceEnd(line, j)) {
      start = j + 1;
      break;
    }
  }
  // A position on the line break after a line's closing mark yields the empty sentence behind
  // that mark.
  const size_t length = end >= start ? end - start + 1 : 0;
  m_spanStart += static_cast<std::int32_t>(start - 1);
  m_spanLength = static_cast<std::int32_t>(length);
  return std::string(line.substr(start - 1, length));
}

std::optional<std::string> Tcnen_reader::WordSpanAt(std::int32_t position) {
  const LocatedLine located = LocateLine(position);
  if (located.text.empty()) return std::nullopt;
  const std::string_view line = located.text;
  const size_t k = CharacterIndexBefore(located);
  // The second byte of a double-byte character may fall in the ASCII letter range; it is part
  // of a Chinese character, never of a word.
  const std::vector<bool> wide = DoubleByteMask(line);
  auto isWordAt = [&](size_t index) {
    return index >= 1 && index <= line.size() && !wide[index - 1] && IsWordCharacter(line[index - 1]);
  };

  size_t first;
  if (isWordAt(k)) {
    first = k;
    while (isWordAt(first - 1)) --first;
  } else if (isWordAt(k + 1)) {
    first = k + 1;
  } else {
    return std::nullopt;
  }
  size_t last = first;
  while (isWordAt(last + 1)) ++last;
  m_spanStart += static_cast<std::int32_t>(first - 1);
  m_spanLength = static_cast<std::int32_t>(last - first + 1);
  return std::string(line.substr(first - 1, last - first + 1));
}

Result<std::optional<CounterpartLine>> Tcnen_reader::Counterpart(std::int32_t position, Language wanted) {
  const LocatedLine located = LocateLine(position);
  if (located.text.empty()) return std::optional<CounterpartLine>();
  const LineList& partners = wanted == Language::English ? m_enLines : m_cnLines;
  const auto index = static_cast<size_t>(m_lineIndex);
  if (index >= partners.size()) {
    return Error{"List index out of bounds (" + std::to_string(m_lineIndex) + "): the " +
                 (wanted == Language::English ? "English" : "Chinese") + " text has only " +
                 std::to_string(partners.size()) + " lines"};
  }
  return std::optional<CounterpartLine>(CounterpartLine{m_shownLine, partners[index]});
}

}  // namespace duvelin
