#include "settings/media_lists.h"

#include <filesystem>

#include "common/file_io.h"
#include "common/settings_file.h"

namespace duvelin {
namespace fs = std::filesystem;

LineList MediaList::Entries() const {
  std::lock_guard lock(m_mutex);
  return m_entries;
}

size_t MediaList::Size() const {
  std::lock_guard lock(m_mutex);
  return m_entries.size();
}

std::optional<std::string> MediaList::At(size_t index) const {
  std::lock_guard lock(m_mutex);
  if (index >= m_entries.size()) return std::nullopt;
  return m_entries[index];
}

bool MediaList::SetAt(size_t index, std::string entry) {
  std::lock_guard lock(m_mutex);
  if (index >= m_entries.size()) return false;
  m_entries[index] = std::move(entry);
  return true;
}

void MediaList::Append(std::string entry) {
  std::lock_guard lock(m_mutex);
  m_entries.push_back(std::move(entry));
}

bool MediaList::RemoveAt(size_t index) {
  std::lock_guard lock(m_mutex);
  if (index >= m_entries.size()) return false;
  m_entries.erase(m_entries.begin() + static_cast<ptrdiff_t>(index));
  return true;
}

void MediaList::Assign(LineList entries) {
  std::lock_guard lock(m_mutex);
  m_entries = std::move(entries);
}

void MediaList::Clear() { Assign({}); }

MediaLists& BackgroundMediaLists() {
  static MediaLists lists;
  return lists;
}

std::string_view MediaListFile(MediaKind kind) {
  return kind == MediaKind::Pictures ? kPictureListFile : kMusicListFile;
}

namespace {

void SwitchOff(MediaKind kind, TGameOptions& options) {
  if (kind == MediaKind::Pictures)
    options.pictures.bg_img = 0;
  else
    options.music.bg_music = 0;
}

Status LoadOne(const ProgramFolder& folder, MediaKind kind, MediaList& list, TGameOptions& options) {
  list.Clear();
  const fs::path path = folder.Resolve(MediaListFile(kind));
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    SwitchOff(kind, options);
    return Status::Ok();
  }
  auto lines = ReadLineList(path);
  if (!lines) {
    SwitchOff(kind, options);
    return lines.status();
  }
  list.Assign(std::move(lines).value());
  return Status::Ok();
}

}  // namespace

Status LoadMediaLists(const ProgramFolder& folder, MediaLists& lists, TGameOptions& options) {
  Status pictures = LoadOne(folder, MediaKind::Pictures, lists.pictures, options);
  Status music = LoadOne(folder, MediaKind::Music, lists.music, options);
  return pictures ? music : pictures;
}

Status SaveMediaList(const ProgramFolder& folder, MediaKind kind, const MediaList& list) {
  const fs::path path = folder.Resolve(MediaListFile(kind));
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (error) return Error{"cannot create " + path.parent_path().string() + ": " + error.message()};
  return WriteLineList(path, list.Entries());
}

Status ClearMediaList(const ProgramFolder& folder, MediaKind kind, MediaList& list, TGameOptions& options) {
  Status removed = RemoveFileIfPresent(folder.Resolve(MediaListFile(kind)));
  if (!removed) return removed;
  SwitchOff(kind, options);
  list.Clear();
  return Status::Ok();
}

MusicEntry ParseMusicEntry(std::string_view entry) {
  MusicEntry result;
  size_t close = entry.find(']');
  // Without a closing "]" nothing can be taken off: the whole entry is the path.
  if (entry.empty() || entry.front() != '[' || close == std::string_view::npos) {
    result.path = std::string(entry);
    return result;
  }
  result.hasOffset = true;
  std::string_view number = entry.substr(1, close - 1);
  result.offsetMs = number.empty() ? 0 : ParseInteger(number).value_or(0);
  result.path = std::string(entry.substr(close + 1));
  return result;
}

std::string FormatMusicEntry(int32_t offsetMs, std::string_view path) {
  return "[" + std::to_string(offsetMs) + "]" + std::string(path);
}

std::string FormatMusicEntry(const MusicEntry& entry) {
  return entry.hasOffset ? FormatMusicEntry(entry.offsetMs, entry.path) : entry.path;
}

}  // namespace duvelin
