#include "script/temp_list.h"

#include "common/settings_file.h"

namespace duvelin {

size_t TempList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < m_lines.size(); ++i)
    if (NamesEqual(m_lines[i].first, name)) return i;
  return std::string::npos;
}

std::optional<std::string> TempList::Find(int32_t number) const {
  const size_t index = IndexOf(std::to_string(number));
  if (index == std::string::npos) return std::nullopt;
  return m_lines[index].second;
}

int32_t TempList::ReadInteger(int32_t number) const {
  auto value = Find(number);
  return value ? ParseInteger(*value).value_or(0) : 0;
}

void TempList::Write(int32_t number, std::string_view value) {
  const std::string name = std::to_string(number);
  const size_t index = IndexOf(name);
  if (value.empty()) {
    if (index != std::string::npos) m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(index));
    return;
  }
  if (index != std::string::npos)
    m_lines[index].second = std::string(value);
  else
    m_lines.emplace_back(name, std::string(value));
}

}  // namespace duvelin
