// The reading-material library as a tree: the folders and ".txt" files below text\ in the
// order the file system lists them, then the three action entries. This builds the plain data
// and decides what a click or a double click means; the tree widget shows it and draws the
// six images.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_folder.h"

namespace duvelin {

enum class TreeEntryKind { Folder, Material, AddMaterial, ManageMaterials, LearnWords };

enum class ExpandState { Collapsed, Expanded };

// The six images of the tree, by index.
enum TreeImage : int {
  kImageCollapsed = 0,       // an entry with children, collapsed
  kImageExpanded = 1,        // an entry with children, expanded
  kImagePlain = 2,           // a material, or a folder without entries
  kImageAddMaterial = 3,     // "添加阅读材料"
  kImageManageMaterials = 4, // "整理阅读材料"
  kImageLearnWords = 5,      // "背单词"
};

struct MaterialTreeEntry {
  TreeEntryKind kind = TreeEntryKind::Folder;
  std::string text;                // GBK: the folder or file name (".txt" kept), or the action's text
  std::filesystem::path diskPath;  // the folder or file on disk; empty for action entries
  std::vector<MaterialTreeEntry> children;

  // The normal image; the selected image is always the same.
  int ImageIndex(ExpandState state = ExpandState::Collapsed) const;
};

// The action entries' texts (GBK).
inline constexpr std::string_view kAddMaterialEntry = "\xCC\xED\xBC\xD3\xD4\xC4\xB6\xC1\xB2\xC4\xC1\xCF";      // 添加阅读材料
inline constexpr std::string_view kManageMaterialsEntry = "\xD5\xFB\xC0\xED\xD4\xC4\xB6\xC1\xB2\xC4\xC1\xCF";  // 整理阅读材料
inline constexpr std::string_view kLearnWordsEntry = "\xB1\xB3\xB5\xA5\xB4\xCA";                              // 背单词

// The folder of the library: program folder + text\.
std::filesystem::path MaterialLibraryFolder(const ProgramFolder& programFolder);

// True when the name (GBK or UTF-8) has the extension ".txt", letter case ignored.
bool HasTxtExtension(std::string_view name);

// The entries for a folder and everything below it: names that begin with "." are skipped,
// folders are walked, files with a ".txt" extension listed, other files skipped; no sorting.
// A folder that cannot be read yields no entries; a folder reached again through a link is not
// walked twice.
std::vector<MaterialTreeEntry> WalkMaterialFolder(const std::filesystem::path& folder);

// The whole tree: the walk of text\ (nothing when it is missing), then the three actions.
std::vector<MaterialTreeEntry> BuildMaterialTree(const ProgramFolder& programFolder);

// The material-pointer flag for the entry under the pointer's label or icon: on when its text
// ends in ".txt", letter case ignored.
bool IsMaterialPointerEntry(std::string_view entryText);

// The relative path of an entry from its texts and its ancestors' texts, top-level first,
// joined with backslashes (GBK).
std::string MaterialRelativePath(const std::vector<std::string>& textsTopFirst);

// The file a click opens: program folder + text\ + the relative path, when it exists as a
// file and has a ".txt" extension; nothing otherwise (an entry whose file has vanished).
std::optional<std::filesystem::path> MaterialFileToOpen(const ProgramFolder& programFolder,
                                                        std::string_view relativeGbkPath);

// What a double click on an entry does.
enum class DoubleClickAction {
  None,             // materials (the single click has opened them) and folders
  PostAddMaterial,  // post MSG_GAME_COMMAND with code 38: show the authoring window
  OpenLibraryFolder,  // open text\ in the file manager
  ShowPopupMenu,    // open the shared pop-up menu at the mouse, for its word games
};
DoubleClickAction DoubleClickActionFor(const MaterialTreeEntry& entry);

}  // namespace duvelin
