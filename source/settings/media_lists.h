// The picture list and the music list: the background pictures and tracks of the whole run,
// their files "save\bg_img.txt" and "save\bg_music.txt", and the music entry's lyric-offset
// prefix ("[-1500]D:\music\a.mp3"). The settings window edits the lists and the music player
// reads them; what they do with the entries is theirs.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "common/program_folder.h"
#include "common/result.h"
#include "settings/game_options.h"

namespace duvelin {

inline constexpr char kPictureListFile[] = "save\\bg_img.txt";
inline constexpr char kMusicListFile[] = "save\\bg_music.txt";

// An ordered list of entries. The music player reads and rewrites entries from its own thread,
// so every operation takes the list's lock; the list is never handed out by reference.
class MediaList {
 public:
  LineList Entries() const;
  size_t Size() const;
  bool Empty() const { return Size() == 0; }
  std::optional<std::string> At(size_t index) const;
  // Replaces one entry; false when the index is out of range.
  bool SetAt(size_t index, std::string entry);
  void Append(std::string entry);
  bool RemoveAt(size_t index);
  void Assign(LineList entries);
  void Clear();

 private:
  mutable std::mutex m_mutex;
  LineList m_entries;  // guarded by m_mutex
};

struct MediaLists {
  MediaList pictures;
  MediaList music;
};

// The two lists of the process.
MediaLists& BackgroundMediaLists();

enum class MediaKind { Pictures, Music };

// The list file of a kind, as a program-folder path.
std::string_view MediaListFile(MediaKind kind);

// Fills both lists from their files. A missing file leaves its list empty and switches the
// matching option (bg_img, bg_music) off. A file that exists but cannot be read is treated the
// same way and its error is returned once both lists have been handled.
Status LoadMediaLists(const ProgramFolder& folder, MediaLists& lists, TGameOptions& options);

// Writes the whole list to its file (atomically; the "save" folder is made when missing).
Status SaveMediaList(const ProgramFolder& folder, MediaKind kind, const MediaList& list);

// Clearing a list: deletes its file, then empties it and switches its option off. When the
// file cannot be deleted nothing changes and the error is returned.
Status ClearMediaList(const ProgramFolder& folder, MediaKind kind, MediaList& list, TGameOptions& options);

// A music list entry: the path and, when the entry starts with "[", the lyric offset between
// "[" and the first "]" (0 when that text is not a number).
struct MusicEntry {
  bool hasOffset = false;
  int32_t offsetMs = 0;
  std::string path;

  bool operator==(const MusicEntry&) const = default;
};

MusicEntry ParseMusicEntry(std::string_view entry);
// "[" offset "]" path with an offset, else the path alone.
std::string FormatMusicEntry(const MusicEntry& entry);
std::string FormatMusicEntry(int32_t offsetMs, std::string_view path);

}  // namespace duvelin
