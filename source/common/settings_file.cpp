#include "common/settings_file.h"

#include <charconv>
#include <limits>

namespace duvelin {

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // from_chars would take a second sign ("--5", "$-5"): only digits may follow.
  if (i >= text.size() || text[i] == '-' || text[i] == '+') return std::nullopt;
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  // Hexadecimal text may give all 32 bits ("$FFFFFFFF" is -1); more is out of range.
  if (base == 16 && value > int64_t{0xFFFFFFFF}) return std::nullopt;
  if (negative) value = -value;
  if (base == 10 && (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()))
    return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

Result<SettingsFile> SettingsFile::Load(const std::filesystem::path& path) {
  auto lines = ReadLineList(path);
  if (!lines) return Error{lines.message()};
  return SettingsFile(std::move(lines).value());
}

Status SettingsFile::Save(const std::filesystem::path& path) const { return WriteLineList(path, m_lines); }

size_t SettingsFile::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < m_lines.size(); ++i) {
    std::string_view line = m_lines[i];
    size_t equals = line.find('=');
    if (equals != std::string_view::npos && NamesEqual(line.substr(0, equals), name)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> SettingsFile::Find(std::string_view name) const {
  size_t index = IndexOf(name);
  if (index == std::string::npos) return std::nullopt;
  const std::string& line = m_lines[index];
  return line.substr(line.find('=') + 1);
}

std::string SettingsFile::Text(std::string_view name) const { return Find(name).value_or(std::string()); }

bool SettingsFile::Flag(std::string_view name) const { return Text(name) == "1"; }

int32_t SettingsFile::Integer(std::string_view name) const { return ParseInteger(Text(name)).value_or(0); }

void SettingsFile::Set(std::string_view name, std::string_view value) {
  size_t index = IndexOf(name);
  if (value.empty()) {
    if (index != std::string::npos) m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(index));
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (index == std::string::npos)
    m_lines.push_back(std::move(line));
  else
    m_lines[index] = std::move(line);
}

}  // namespace duvelin
