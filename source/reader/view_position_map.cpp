#include "reader/view_position_map.h"

#include <algorithm>

#include "common/gbk_text.h"

namespace duvelin {
namespace {

// The byte length of the GB18030 character starting at `i`: 1 for ASCII and for a byte that
// starts no valid sequence, 2 or 4 otherwise. The converter turns an invalid byte into one
// replacement character and goes on with the next byte, so this walk and the conversion agree.
size_t CharacterLength(std::string_view text, size_t i) {
  auto at = [&](size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u; };
  unsigned lead = at(i);
  if (lead < 0x80 || lead == 0x80 || lead == 0xFF) return 1;
  unsigned second = at(i + 1);
  if ((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE)) return 2;
  if (second >= 0x30 && second <= 0x39) {
    unsigned third = at(i + 2), fourth = at(i + 3);
    if (third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39) return 4;
  }
  return 1;
}

// Decodes well-formed UTF-8 (as the converter produces it) into code points with the byte
// length of each.
struct CodePoint {
  char32_t value;
  size_t bytes;
};
std::vector<CodePoint> DecodeUtf8(std::string_view utf8) {
  std::vector<CodePoint> points;
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    length = std::min(length, utf8.size() - i);
    char32_t value = length == 1 ? c : c & (0x3F >> (length - 1));
    for (size_t k = 1; k < length; ++k) value = (value << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    points.push_back({value, length});
    i += length;
  }
  return points;
}

// Characters that Qt's text document would take as a block break or as its own markers;
// the view shows a replacement character of the same UTF-16 length instead, so that view
// lines stay the document's lines.
bool BreaksViewLines(char32_t c) { return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1; }

const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

bool IsWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || c >= 0xF8;
}

}  // namespace

ViewPositionMap::MappedLine ViewPositionMap::MapLine(std::string gbk) {
  MappedLine mapped;
  std::vector<size_t> lengths;
  for (size_t i = 0; i < gbk.size(); i += lengths.back()) lengths.push_back(CharacterLength(gbk, i));

  const std::string whole = GbkToUtf8(gbk);
  std::vector<CodePoint> points = DecodeUtf8(whole);
  std::vector<std::string> pieces;  // the UTF-8 of each character
  if (points.size() == lengths.size()) {
    size_t offset = 0;
    for (const CodePoint& point : points) {
      pieces.push_back(whole.substr(offset, point.bytes));
      offset += point.bytes;
    }
  } else {
    // The converter split the line differently (a sequence it does not know): convert the
    // characters one by one, taking a sequence it rejects as one replaced byte.
    std::vector<size_t> checked;
    for (size_t i = 0, k = 0; k < lengths.size(); ++k) {
      std::string piece = GbkToUtf8(std::string_view(gbk).substr(i, lengths[k]));
      if (lengths[k] > 1 && DecodeUtf8(piece).size() != 1) {
        for (size_t b = 0; b < lengths[k]; ++b) {
          checked.push_back(1);
          pieces.push_back(GbkToUtf8(std::string_view(gbk).substr(i + b, 1)));
        }
      } else {
        checked.push_back(lengths[k]);
        pieces.push_back(std::move(piece));
      }
      i += lengths[k];
    }
    lengths = std::move(checked);
  }

  std::int32_t byte = 0, unit = 0;
  for (size_t k = 0; k < lengths.size(); ++k) {
    mapped.byteStarts.push_back(byte);
    mapped.unitStarts.push_back(unit);
    std::vector<CodePoint> decoded = DecodeUtf8(pieces[k]);
    char32_t value = decoded.empty() ? 0xFFFD : decoded.front().value;
    if (BreaksViewLines(value)) {
      mapped.utf8 += kReplacementUtf8;
    } else {
      mapped.utf8 += pieces[k];
    }
    byte += static_cast<std::int32_t>(lengths[k]);
    unit += value >= 0x10000 ? 2 : 1;
  }
  mapped.byteStarts.push_back(byte);
  mapped.unitStarts.push_back(unit);
  mapped.gbk = std::move(gbk);
  return mapped;
}

ViewPositionMap::ViewPositionMap(LineList gbkLines) {
  m_lines.reserve(gbkLines.size());
  for (std::string& line : gbkLines) m_lines.push_back(MapLine(std::move(line)));
  RecountStarts();
}

void ViewPositionMap::ReplaceLine(std::int32_t line, std::string gbk) {
  m_lines.at(line) = MapLine(std::move(gbk));
  RecountStarts();
}

void ViewPositionMap::RecountStarts() {
  m_lineStarts.assign(1, 0);
  for (const MappedLine& line : m_lines)
    m_lineStarts.push_back(m_lineStarts.back() + static_cast<std::int32_t>(line.gbk.size()) + 2);
}

std::string ViewPositionMap::ViewTextUtf8() const {
  std::string text;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += m_lines[i].utf8;
  }
  return text;
}

std::int32_t ViewPositionMap::Utf16Length(std::int32_t line) const {
  if (line < 0 || line >= LineCount()) return 0;
  return m_lines[line].unitStarts.back();
}

std::int32_t ViewPositionMap::GbkLength(std::int32_t line) const {
  if (line < 0 || line >= LineCount()) return 0;
  return static_cast<std::int32_t>(m_lines[line].gbk.size());
}

std::int32_t ViewPositionMap::LineStart(std::int32_t line) const {
  if (line <= 0) return 0;
  if (line <= LineCount()) return m_lineStarts[line];
  return m_lineStarts.back() + (line - LineCount()) * 2;
}

std::int32_t ViewPositionMap::TextLength() const { return m_lineStarts.back(); }

std::int32_t ViewPositionMap::ByteColumn(std::int32_t line, std::int32_t column) const {
  if (column <= 0) return 0;
  if (line < 0 || line >= LineCount()) return column;
  const MappedLine& mapped = m_lines[line];
  const std::int32_t units = mapped.unitStarts.back();
  if (column >= units) return mapped.byteStarts.back() + (column - units);
  // The last character starting at or before the column.
  auto it = std::upper_bound(mapped.unitStarts.begin(), mapped.unitStarts.end(), column);
  size_t k = static_cast<size_t>(it - mapped.unitStarts.begin()) - 1;
  return mapped.byteStarts[k];
}

std::int32_t ViewPositionMap::PositionAt(std::int32_t line, std::int32_t column) const {
  return LineStart(std::max(line, 0)) + ByteColumn(line, column);
}

ViewPoint ViewPositionMap::PointAt(std::int32_t position, Rounding rounding) const {
  if (m_lines.empty() || position <= 0) return {0, 0};
  // The line whose span (its characters and its line break) holds the position.
  auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
  std::int32_t line = static_cast<std::int32_t>(it - m_lineStarts.begin()) - 1;
  if (line >= LineCount()) {
    line = LineCount() - 1;
    return {line, Utf16Length(line)};
  }
  const MappedLine& mapped = m_lines[line];
  const std::int32_t byte = position - m_lineStarts[line];
  if (byte >= mapped.byteStarts.back()) return {line, mapped.unitStarts.back()};
  auto at = std::upper_bound(mapped.byteStarts.begin(), mapped.byteStarts.end(), byte);
  size_t k = static_cast<size_t>(at - mapped.byteStarts.begin()) - 1;
  if (mapped.byteStarts[k] != byte && rounding == Rounding::Up) ++k;
  return {line, mapped.unitStarts[k]};
}

ViewSelection ViewPositionMap::SelectionFor(TextSpan span) const {
  ViewPoint start = PointAt(span.start, Rounding::Down);
  ViewPoint end = PointAt(span.start + std::max(span.length, 0), Rounding::Up);
  return {start, end};
}

std::string EditorWordAt(std::string_view gbkLine, std::int32_t column) {
  if (column < 0 || static_cast<size_t>(column) > gbkLine.size()) return {};
  size_t start = static_cast<size_t>(column), end = start;
  while (start > 0 && IsWordByte(static_cast<unsigned char>(gbkLine[start - 1]))) --start;
  while (end < gbkLine.size() && IsWordByte(static_cast<unsigned char>(gbkLine[end]))) ++end;
  return std::string(gbkLine.substr(start, end - start));
}

Language WantedLanguageForWord(std::string_view word) {
  if (word.empty()) return Language::Chinese;
  unsigned char first = static_cast<unsigned char>(word.front());
  bool asciiLetter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
  return asciiLetter ? Language::Chinese : Language::English;
}

}  // namespace duvelin
