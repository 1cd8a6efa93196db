// The choices of the battle window's library box: the built-in library first, then every
// "Lib\*.ini" file, then the action entry that leads to more libraries. Entry texts are GBK.
// Loading a chosen entry is the library state's business.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/program_folder.h"

namespace duvelin {

class LibraryList {
 public:
  enum class EntryKind { BuiltIn, File, Action };
  struct Entry {
    std::string text;  // GBK
    EntryKind kind;
  };

  // GBK texts of the fixed entries and of the new-word book's entry.
  static const std::string& BuiltInEntryText();   // "基础单词900个"
  static const std::string& ActionEntryText();    // "编辑下载更多词库……"
  static const std::string& NewWordBookEntryText();  // "生词本.ini"

  // Only the two fixed entries until Fill runs.
  LibraryList();

  // The built-in entry, the file name of every regular file matching program folder +
  // "Lib\*.ini" (letter case ignored, sorted by name as the original platform lists them;
  // nothing when there is no "Lib" folder), and the action entry.
  void Fill(const ProgramFolder& programFolder);

  int Count() const { return static_cast<int>(m_entries.size()); }
  bool IsValidPosition(int position) const { return position >= 0 && position < Count(); }
  const Entry& At(int position) const { return m_entries[static_cast<size_t>(position)]; }
  const std::vector<Entry>& Entries() const { return m_entries; }

  // The position of the file entry named `text` (letter case ignored), or -1.
  int FindFile(std::string_view text) const;
  // Adds a file entry in front of the action entry unless it is listed already; returns its
  // position.
  int AddFile(std::string text);

 private:
  std::vector<Entry> m_entries;
};

}  // namespace duvelin
