#include "script/command_table.h"

#include <algorithm>

namespace duvelin {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

CommandArguments::CommandArguments(const std::vector<ParameterKind>& parameters, const std::vector<ScriptValue>& values) {
  m_numbers.resize(parameters.size(), 0);
  m_texts.resize(parameters.size());
  for (size_t i = 0; i < parameters.size() && i < values.size(); ++i) {
    const ScriptValue& value = values[i];
    if (parameters[i] == ParameterKind::Integer) {
      m_numbers[i] = value.Number();
    } else if (value.IsText() || !value.IsZero()) {
      m_texts[i] = value.Text();
    }
  }
}

const std::optional<std::string>& CommandArguments::Text(size_t index) const {
  static const std::optional<std::string> kNull;
  return index < m_texts.size() ? m_texts[index] : kNull;
}

void CommandTable::Add(std::string_view name, std::string_view parameters, CommandFunction run) {
  CommandEntry entry;
  entry.name = std::string(name);
  for (char kind : parameters) entry.parameters.push_back(kind == 't' ? ParameterKind::Text : ParameterKind::Integer);
  entry.run = std::move(run);
  m_entries[AsciiLower(name)] = std::move(entry);
}

const CommandEntry* CommandTable::Find(std::string_view name) const {
  auto it = m_entries.find(AsciiLower(name));
  return it == m_entries.end() ? nullptr : &it->second;
}

std::vector<std::string> CommandTable::Names() const {
  std::vector<std::string> names;
  names.reserve(m_entries.size());
  for (const auto& [key, entry] : m_entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace duvelin
