// A settings file: lines of name "=" value, read and written whole. The name is the text before
// the first "=", the value everything after it, blanks kept. Look-ups ignore the letter case of
// names and take the first matching line; lines without "=" are ignored by look-ups but kept.
// Writing replaces the first matching line in place or appends; an empty value deletes the
// first matching line. Saving writes every line back with CR LF, atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "common/result.h"

namespace duvelin {

class SettingsFile {
 public:
  SettingsFile() = default;
  explicit SettingsFile(LineList lines) : m_lines(std::move(lines)) {}

  static Result<SettingsFile> Load(const std::filesystem::path& path);
  Status Save(const std::filesystem::path& path) const;

  // The value of the first line named `name`; empty when there is none.
  std::string Text(std::string_view name) const;
  std::optional<std::string> Find(std::string_view name) const;
  // True only when the value is exactly "1".
  bool Flag(std::string_view name) const;
  // Decimal integer; missing or non-numeric reads as 0.
  int32_t Integer(std::string_view name) const;

  void Set(std::string_view name, std::string_view value);
  void SetFlag(std::string_view name, bool on) { Set(name, on ? "1" : "0"); }
  void SetInteger(std::string_view name, int32_t value) { Set(name, std::to_string(value)); }

  const LineList& Lines() const { return m_lines; }

 private:
  // Index of the first line named `name`, or npos.
  size_t IndexOf(std::string_view name) const;

  LineList m_lines;
};

// The decimal integer of `text` as the platform's string-to-integer reads it: optional blanks
// and sign, digits to the end (a "$" prefix reads hexadecimal); anything else yields nothing.
std::optional<int32_t> ParseInteger(std::string_view text);

// Letter case of ASCII letters ignored.
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace duvelin
