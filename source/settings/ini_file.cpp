#include "settings/ini_file.h"

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/line_list.h"
#include "common/settings_file.h"

namespace duvelin {
namespace {

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;
  for (const std::string& raw : SplitLines(text)) {
    std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      ini.m_sections.push_back({std::string(name), {}});
      current = &ini.m_sections.back();
      continue;
    }
    size_t equals = line.find('=');
    if (!current || equals == std::string_view::npos) continue;
    current->entries.push_back(
        {std::string(Trim(line.substr(0, equals))), std::string(Unquote(Trim(line.substr(equals + 1))))});
  }
  return ini;
}

IniFile IniFile::Load(const std::filesystem::path& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return {};
  return Parse(FileBytesToGbk(*bytes));
}

const IniFile::Section* IniFile::FindSection(std::string_view section) const {
  for (const auto& candidate : m_sections)
    if (NamesEqual(candidate.name, section)) return &candidate;
  return nullptr;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const auto& entry : found->entries)
    if (NamesEqual(entry.key, key)) return entry.value;
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto value = Find(section, key);
  return value ? *value : std::string(fallback);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  auto value = Find(section, key);
  if (!value || value->empty()) return fallback;
  return ParseInteger(*value).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  auto value = Find(section, key);
  if (!value || value->empty()) return fallback;
  if (NamesEqual(*value, "true")) return true;
  if (NamesEqual(*value, "false")) return false;
  auto number = ParseInteger(*value);
  return number ? *number != 0 : fallback;
}

}  // namespace duvelin
