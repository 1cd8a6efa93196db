// The current word library: the lines of a library file in GBK, addressed by 0-based index.
// A line is word "=" meaning; empty lines and lines beginning with "[" are never asked. Which
// file it came from, and what the user is told about it, is the library state's business.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "common/result.h"

namespace duvelin {

class WordLibrary {
 public:
  // The three lines appended to a library that is too small to build questions from.
  static const LineList& PlaceholderLines();

  static bool IsAskableLine(std::string_view line) { return !line.empty() && line.front() != '['; }
  // The word of a line: everything before the first "=" (the whole line when there is none).
  static std::string_view WordOf(std::string_view line);

  WordLibrary() = default;
  explicit WordLibrary(LineList lines) { SetLines(std::move(lines)); }

  // Replaces the lines with the file's; on failure the library is left empty.
  Status Load(const std::filesystem::path& file);
  void SetLines(LineList lines);
  void Clear() { SetLines({}); }

  const LineList& Lines() const { return m_lines; }
  size_t Size() const { return m_lines.size(); }
  bool Empty() const { return m_lines.empty(); }
  const std::string& Line(size_t index) const { return m_lines[index]; }
  bool IsAskable(size_t index) const { return index < m_lines.size() && IsAskableLine(m_lines[index]); }
  size_t AskableCount() const { return m_askableCount; }

  // Fewer than 3 lines, or no line that could be asked: questions with three different lines
  // could not be built, or picking a question line would never end.
  bool HasTooFewLines() const { return m_lines.size() < 3 || m_askableCount == 0; }
  void AppendPlaceholders();

  void DeleteLine(size_t index);

 private:
  LineList m_lines;
  size_t m_askableCount = 0;
};

}  // namespace duvelin
