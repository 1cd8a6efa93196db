#include "script/event_store.h"

#include "common/settings_file.h"

namespace duvelin {

EventStore EventStore::NewGame() {
  EventStore store;
  store.m_sections.push_back({kEventsSection, {}});
  store.m_sections.push_back({kFoodsSection, {}});
  return store;
}

EventStore EventStore::FromLines(const LineList& lines) {
  EventStore store;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      store.m_sections.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (store.m_sections.empty()) continue;
    const size_t equals = line.find('=');
    Entry entry;
    if (equals == std::string::npos) {
      entry.key = line;  // kept in the text, found by no key
      entry.plain = true;
    } else {
      entry.key = line.substr(0, equals);
      entry.value = line.substr(equals + 1);
    }
    store.m_sections.back().entries.push_back(std::move(entry));
  }
  return store;
}

const EventStore::Section* EventStore::FindSection(std::string_view name) const {
  for (const Section& section : m_sections)
    if (NamesEqual(section.name, name)) return &section;
  return nullptr;
}

EventStore::Section* EventStore::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const EventStore*>(this)->FindSection(name));
}

std::optional<std::string> EventStore::Read(std::string_view section, int32_t key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  const std::string name = std::to_string(key);
  for (const Entry& entry : found->entries)
    if (!entry.plain && NamesEqual(entry.key, name)) return entry.value;
  return std::nullopt;
}

int32_t EventStore::ReadInteger(std::string_view section, int32_t key, int32_t fallback) const {
  auto value = Read(section, key);
  if (!value) return fallback;
  return ParseInteger(*value).value_or(fallback);
}

void EventStore::Write(std::string_view section, int32_t key, std::string_view value) {
  Section* found = FindSection(section);
  if (!found) {
    m_sections.push_back({std::string(section), {}});
    found = &m_sections.back();
  }
  const std::string name = std::to_string(key);
  for (Entry& entry : found->entries) {
    if (!entry.plain && NamesEqual(entry.key, name)) {
      entry.value = std::string(value);
      return;
    }
  }
  found->entries.push_back({name, std::string(value)});
}

void EventStore::Delete(std::string_view section, int32_t key) {
  Section* found = FindSection(section);
  if (!found) return;
  const std::string name = std::to_string(key);
  for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
    if (!it->plain && NamesEqual(it->key, name)) {
      found->entries.erase(it);
      return;
    }
  }
}

LineList EventStore::Lines() const {
  LineList lines;
  for (const Section& section : m_sections) {
    lines.push_back("[" + section.name + "]");
    for (const Entry& entry : section.entries) lines.push_back(entry.plain ? entry.key : entry.key + "=" + entry.value);
    lines.push_back("");
  }
  return lines;
}

}  // namespace duvelin
