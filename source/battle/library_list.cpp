#include "battle/library_list.h"

#include <algorithm>
#include <filesystem>

#include "battle/gbk_match.h"
#include "common/gbk_text.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool HasIniExtension(const std::string& name) {
  return name.size() > 4 && AsciiLower(name.substr(name.size() - 4)) == ".ini";
}

}  // namespace

const std::string& LibraryList::BuiltInEntryText() {
  static const std::string text = Utf8ToGbk("基础单词900个");
  return text;
}

const std::string& LibraryList::ActionEntryText() {
  static const std::string text = Utf8ToGbk("编辑下载更多词库……");
  return text;
}

const std::string& LibraryList::NewWordBookEntryText() {
  static const std::string text = Utf8ToGbk("生词本.ini");
  return text;
}

LibraryList::LibraryList() {
  m_entries = {{BuiltInEntryText(), EntryKind::BuiltIn}, {ActionEntryText(), EntryKind::Action}};
}

void LibraryList::Fill(const ProgramFolder& programFolder) {
  std::vector<std::string> names;
  std::error_code error;
  const fs::path folder = programFolder.Resolve("Lib");
  if (fs::is_directory(folder, error)) {
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      std::error_code typeError;
      if (!it->is_regular_file(typeError)) continue;
      std::string name = GbkFromFileName(it->path().filename());
      if (HasIniExtension(name)) names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string lowerA = AsciiLower(a), lowerB = AsciiLower(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
  });
  m_entries.clear();
  m_entries.push_back({BuiltInEntryText(), EntryKind::BuiltIn});
  for (auto& name : names) m_entries.push_back({std::move(name), EntryKind::File});
  m_entries.push_back({ActionEntryText(), EntryKind::Action});
}

int LibraryList::FindFile(std::string_view text) const {
  for (int position = 0; position < Count(); ++position)
    if (At(position).kind == EntryKind::File && GbkEqualsIgnoringCase(At(position).text, text)) return position;
  return -1;
}

int LibraryList::AddFile(std::string text) {
  if (int existing = FindFile(text); existing >= 0) return existing;
  auto action = std::find_if(m_entries.begin(), m_entries.end(),
                             [](const Entry& entry) { return entry.kind == EntryKind::Action; });
  auto inserted = m_entries.insert(action, Entry{std::move(text), EntryKind::File});
  return static_cast<int>(inserted - m_entries.begin());
}

}  // namespace duvelin
