// The command table: every operation a command text can call, by name, found without regard to
// letter case, with its parameter list. A command takes up to three values and reads each by its
// own parameter kind: an integer, or a text (null for the null reference). Which commands exist
// and what they do is the business of the files that register them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/script_value.h"

namespace duvelin {

enum class ParameterKind { Integer, Text };

// The values of one call as the command's parameter list reads them. A missing argument reads
// as 0, or as the null text. An integer read as text is its decimal text (0 the null text); a
// text reference read as an integer is its stand-in number.
class CommandArguments {
 public:
  CommandArguments() = default;
  CommandArguments(const std::vector<ParameterKind>& parameters, const std::vector<ScriptValue>& values);

  int32_t Integer(size_t index) const { return index < m_numbers.size() ? m_numbers[index] : 0; }
  // Nothing for the null text.
  const std::optional<std::string>& Text(size_t index) const;
  std::string TextOrEmpty(size_t index) const { return Text(index).value_or(std::string()); }

 private:
  std::vector<int32_t> m_numbers;
  std::vector<std::optional<std::string>> m_texts;
};

using CommandFunction = std::function<ScriptValue(const CommandArguments&)>;

struct CommandEntry {
  std::string name;
  std::vector<ParameterKind> parameters;
  CommandFunction run;
};

class CommandTable {
 public:
  // Adds (or replaces) a command. `parameters` spells the parameter list with one letter per
  // parameter, as the command lists write it: "t" a text, any other letter ("n", "a", "b", "c")
  // an integer; "" for commands that take any argument and ignore it.
  void Add(std::string_view name, std::string_view parameters, CommandFunction run);

  // The command of that name, letter case ignored; nothing when there is none.
  const CommandEntry* Find(std::string_view name) const;

  size_t Size() const { return m_entries.size(); }
  // The names as registered, sorted.
  std::vector<std::string> Names() const;

 private:
  std::unordered_map<std::string, CommandEntry> m_entries;  // keyed by the lower-case name
};

// ASCII letters in lower case; other bytes unchanged.
std::string AsciiLower(std::string_view text);

}  // namespace duvelin
