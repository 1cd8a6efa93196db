#include "reader/material_tree.h"

#include <set>

namespace duvelin {
namespace fs = std::filesystem;
namespace {

bool EndsWithTxt(std::string_view name) {
  if (name.size() < 4) return false;
  std::string_view tail = name.substr(name.size() - 4);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return tail[0] == '.' && lower(tail[1]) == 't' && lower(tail[2]) == 'x' && lower(tail[3]) == 't';
}

void Walk(const fs::path& folder, std::vector<MaterialTreeEntry>& into, std::set<fs::path>& ancestors) {
  std::error_code error;
  fs::path canonical = fs::canonical(folder, error);
  if (error || !ancestors.insert(canonical).second) return;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    const std::string name = path.filename().string();
    if (name.starts_with('.')) continue;
    std::error_code statusError;
    if (it->is_directory(statusError)) {
      MaterialTreeEntry entry{TreeEntryKind::Folder, GbkFromFileName(name), path, {}};
      Walk(path, entry.children, ancestors);
      into.push_back(std::move(entry));
    } else if (HasTxtExtension(name)) {
      into.push_back({TreeEntryKind::Material, GbkFromFileName(name), path, {}});
    }
  }
  ancestors.erase(canonical);
}

}  // namespace

int MaterialTreeEntry::ImageIndex(ExpandState state) const {
  switch (kind) {
    case TreeEntryKind::AddMaterial: return kImageAddMaterial;
    case TreeEntryKind::ManageMaterials: return kImageManageMaterials;
    case TreeEntryKind::LearnWords: return kImageLearnWords;
    case TreeEntryKind::Folder:
    case TreeEntryKind::Material: break;
  }
  if (children.empty()) return kImagePlain;
  return state == ExpandState::Expanded ? kImageExpanded : kImageCollapsed;
}

fs::path MaterialLibraryFolder(const ProgramFolder& programFolder) { return programFolder.Resolve("text\\"); }

bool HasTxtExtension(std::string_view name) { return EndsWithTxt(name); }

std::vector<MaterialTreeEntry> WalkMaterialFolder(const fs::path& folder) {
  std::vector<MaterialTreeEntry> entries;
  std::set<fs::path> ancestors;
  Walk(folder, entries, ancestors);
  return entries;
}

std::vector<MaterialTreeEntry> BuildMaterialTree(const ProgramFolder& programFolder) {
  std::vector<MaterialTreeEntry> tree = WalkMaterialFolder(MaterialLibraryFolder(programFolder));
  tree.push_back({TreeEntryKind::AddMaterial, std::string(kAddMaterialEntry), {}, {}});
  tree.push_back({TreeEntryKind::ManageMaterials, std::string(kManageMaterialsEntry), {}, {}});
  tree.push_back({TreeEntryKind::LearnWords, std::string(kLearnWordsEntry), {}, {}});
  return tree;
}

bool IsMaterialPointerEntry(std::string_view entryText) { return EndsWithTxt(entryText); }

std::string MaterialRelativePath(const std::vector<std::string>& textsTopFirst) {
  std::string path;
  for (const std::string& text : textsTopFirst) {
    if (!path.empty()) path += '\\';
    path += text;
  }
  return path;
}

std::optional<fs::path> MaterialFileToOpen(const ProgramFolder& programFolder, std::string_view relativeGbkPath) {
  if (!HasTxtExtension(relativeGbkPath)) return std::nullopt;
  fs::path file = ResolveCaseInsensitive(MaterialLibraryFolder(programFolder), relativeGbkPath);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  return file;
}

DoubleClickAction DoubleClickActionFor(const MaterialTreeEntry& entry) {
  switch (entry.kind) {
    case TreeEntryKind::AddMaterial: return DoubleClickAction::PostAddMaterial;
    case TreeEntryKind::ManageMaterials: return DoubleClickAction::OpenLibraryFolder;
    case TreeEntryKind::LearnWords: return DoubleClickAction::ShowPopupMenu;
    case TreeEntryKind::Folder:
    case TreeEntryKind::Material: break;
  }
  return DoubleClickAction::None;
}

}  // namespace duvelin
