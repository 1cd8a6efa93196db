// The event store: an INI-style text in memory with the sections "EVENTS" (scene events and
// values) and "FOODS" (the "res" events: things had or accepted, tasks). Keys are event numbers
// in decimal; sections and keys are found without regard to letter case, the first match
// winning. Its text is what a save writes: every section as "[NAME]", its lines, an empty line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_list.h"

namespace duvelin {

inline constexpr char kEventsSection[] = "EVENTS";
inline constexpr char kFoodsSection[] = "FOODS";

class EventStore {
 public:
  // The store of a new game: the two sections, empty. Its text is the four lines "[EVENTS]",
  // "", "[FOODS]", "".
  static EventStore NewGame();
  // A store read back from its text (a save): lines before the first section and empty lines
  // are dropped.
  static EventStore FromLines(const LineList& lines);

  std::optional<std::string> Read(std::string_view section, int32_t key) const;
  // The integer value; `fallback` when absent or not an integer.
  int32_t ReadInteger(std::string_view section, int32_t key, int32_t fallback) const;
  // Replaces the first line of the key or appends one to the section (created at the end when
  // missing).
  void Write(std::string_view section, int32_t key, std::string_view value);
  void WriteInteger(std::string_view section, int32_t key, int32_t value) { Write(section, key, std::to_string(value)); }
  void Delete(std::string_view section, int32_t key);

  LineList Lines() const;

  struct Entry {
    std::string key;
    std::string value;
    bool plain = false;  // a line without "=", kept as it is
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const std::vector<Section>& Sections() const { return m_sections; }

 private:
  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);

  std::vector<Section> m_sections;
};

}  // namespace duvelin
