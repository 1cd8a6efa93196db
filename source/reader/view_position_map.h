// The exact map between what the reading view shows (UTF-16 text, as Qt's text editors count
// it: line and column in UTF-16 code units) and the positions the bilingual document counts
// (GBK bytes, every line break two). It holds the view's lines in GBK and converts both ways;
// turning the mouse pointer or the caret into a line and column is the view's business.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_list.h"
#include "reader/cnen_reader.h"

namespace duvelin {

// A place in the view: a 0-based line and a 0-based column in UTF-16 code units (the place
// before that unit; QTextCursor::positionInBlock counts the same way).
struct ViewPoint {
  std::int32_t line = 0;
  std::int32_t column = 0;
  bool operator==(const ViewPoint&) const = default;
};

// A stretch of the view, for highlighting: from `start` up to (not including) `end`.
struct ViewSelection {
  ViewPoint start;
  ViewPoint end;
  bool operator==(const ViewSelection&) const = default;
};

// What to do with a byte position that falls inside a two- or four-byte character.
enum class Rounding { Down, Up };

class ViewPositionMap {
 public:
  ViewPositionMap() = default;
  explicit ViewPositionMap(LineList gbkLines);

  // F6 puts a paragraph of the other language in place of one line.
  void ReplaceLine(std::int32_t line, std::string gbk);

  std::int32_t LineCount() const { return static_cast<std::int32_t>(m_lines.size()); }
  const std::string& Line(std::int32_t line) const { return m_lines.at(line).gbk; }
  // The line as the view shows it (UTF-8).
  const std::string& LineUtf8(std::int32_t line) const { return m_lines.at(line).utf8; }
  // The whole text for the view (UTF-8), lines joined by "\n", no line break after the last
  // line, so that the view's blocks are exactly these lines.
  std::string ViewTextUtf8() const;

  std::int32_t Utf16Length(std::int32_t line) const;
  std::int32_t GbkLength(std::int32_t line) const;
  // The position of the first character of a line; lines past the last count as empty lines.
  std::int32_t LineStart(std::int32_t line) const;
  // The length of the shown text with every line break counted as two.
  std::int32_t TextLength() const;

  // The GBK bytes of `line` before UTF-16 column `column`. A column inside a surrogate pair
  // counts from the character's start. A column past the line's end goes on one byte per
  // column, into the line break and beyond, as the document's position formula does.
  std::int32_t ByteColumn(std::int32_t line, std::int32_t column) const;

  // The document position of a view place: LineStart(line) + ByteColumn(line, column).
  std::int32_t PositionAt(std::int32_t line, std::int32_t column) const;
  std::int32_t PositionAt(ViewPoint point) const { return PositionAt(point.line, point.column); }

  // The view place of a document position. A position on a line break, or past the last line's
  // end, is the end of that line; below 0 it is the text's start. Inside a multi-byte
  // character the place is that character's start (Down) or end (Up).
  ViewPoint PointAt(std::int32_t position, Rounding rounding = Rounding::Down) const;

  // The view stretch that covers the bytes of `span` (a located line, sentence or word):
  // its start rounded down, its end rounded up to whole characters.
  ViewSelection SelectionFor(TextSpan span) const;

 private:
  struct MappedLine {
    std::string gbk;
    std::string utf8;
    // For each character: its first GBK byte and its first UTF-16 unit, plus a final entry
    // for the line's end.
    std::vector<std::int32_t> byteStarts;
    std::vector<std::int32_t> unitStarts;
  };
  static MappedLine MapLine(std::string gbk);
  void RecountStarts();

  std::vector<MappedLine> m_lines;
  std::vector<std::int32_t> m_lineStarts;  // one per line, plus the text length + 2
};

// The editor's word at a place of a GBK line, as the view picks words: the longest run of word
// characters touching the place before byte `column` from the left or from the right. Word
// characters are the ASCII letters, the digits, "_" and the single bytes 0xC0-0xD6, 0xD8-0xF6
// and 0xF8-0xFF (taken byte by byte, so most Chinese characters count). Empty when neither
// neighbour is a word character, and for a place past the line's end.
std::string EditorWordAt(std::string_view gbkLine, std::int32_t column);

// The language F6 switches a paragraph to, from the word at hand: English when the word is not
// empty and does not start with an ASCII letter (a Chinese word, a number), else Chinese.
Language WantedLanguageForWord(std::string_view word);

}  // namespace duvelin
