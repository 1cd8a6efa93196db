#include "common/line_list.h"

#include "common/file_io.h"
#include "common/gbk_text.h"

namespace duvelin {

LineList SplitLines(std::string_view text) {
  LineList lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const LineList& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

Result<LineList> ReadLineList(const std::filesystem::path& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return Error{bytes.message()};
  return SplitLines(FileBytesToGbk(*bytes));
}

Status WriteLineList(const std::filesystem::path& path, const LineList& lines) {
  return WriteFileAtomically(path, JoinLinesCrLf(lines));
}

}  // namespace duvelin
