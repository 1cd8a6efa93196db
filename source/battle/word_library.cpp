#include "battle/word_library.h"

#include "common/gbk_text.h"

namespace duvelin {

const LineList& WordLibrary::PlaceholderLines() {
  static const LineList lines = {Utf8ToGbk("aa=请修改词库"), Utf8ToGbk("bb=单词太少了"), Utf8ToGbk("cc=请增加单词")};
  return lines;
}

std::string_view WordLibrary::WordOf(std::string_view line) { return line.substr(0, line.find('=')); }

Status WordLibrary::Load(const std::filesystem::path& file) {
  auto lines = ReadLineList(file);
  if (!lines) {
    Clear();
    return lines.status();
  }
  SetLines(std::move(lines).value());
  return Status::Ok();
}

void WordLibrary::SetLines(LineList lines) {
  m_lines = std::move(lines);
  m_askableCount = 0;
  for (const auto& line : m_lines) m_askableCount += IsAskableLine(line);
}

void WordLibrary::AppendPlaceholders() {
  for (const auto& line : PlaceholderLines()) {
    m_lines.push_back(line);
    ++m_askableCount;
  }
}

void WordLibrary::DeleteLine(size_t index) {
  if (index >= m_lines.size()) return;
  m_askableCount -= IsAskableLine(m_lines[index]);
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace duvelin
