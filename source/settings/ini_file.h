// A read-only INI file as the platform's profile functions read it: "[section]" headers and
// name=value lines, names of sections and keys compared without regard to letter case, the
// first section and the first key of a name winning, blanks around names and values trimmed,
// one pair of matching quotes around a value removed, lines starting with ";" ignored.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace duvelin {

class IniFile {
 public:
  IniFile() = default;

  static IniFile Parse(std::string_view text);
  // A missing or unreadable file reads as an empty one: every read yields its default.
  static IniFile Load(const std::filesystem::path& path);

  bool HasSection(std::string_view section) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A missing, empty or non-numeric value gives the fallback ("$" hexadecimal accepted).
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // An integer value other than 0 is true; "true" and "false" are read too.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::string_view section) const;

  std::vector<Section> m_sections;
};

}  // namespace duvelin
