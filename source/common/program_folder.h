// The program folder: the folder that holds every data file, fixed once at start. Data paths
// are written as on the original platform (GBK text, backslashes, any letter case); Resolve
// turns them into real paths, matching each component without regard to letter case against
// what exists, so "Lib\a.ini" and "lib\A.INI" find the same file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace duvelin {

class ProgramFolder {
 public:
  explicit ProgramFolder(std::filesystem::path root);

  const std::filesystem::path& Root() const { return m_root; }

  // `relative` is GBK text with "\" or "/" separators. An absolute path ("/..." on this
  // platform) is resolved on its own. Components that do not exist are kept as written, so the
  // result also names files that are about to be created.
  std::filesystem::path Resolve(std::string_view relative) const;

  // The process-wide program folder, fixed by the program's entry before any path is formed
  // (tests may fix it again for each case).
  static void FixCurrent(std::filesystem::path root);
  static const ProgramFolder& Current();

 private:
  std::filesystem::path m_root;
};

// Resolves a GBK path below `base` component by component, letter case ignored where the exact
// name is missing.
std::filesystem::path ResolveCaseInsensitive(const std::filesystem::path& base, std::string_view gbkPath);

// The folder of the running executable (from /proc/self/exe).
std::filesystem::path ExecutableFolder();

// The file-system name of a GBK path component, and back.
std::string FileNameFromGbk(std::string_view gbk);
std::string GbkFromFileName(const std::filesystem::path& name);

}  // namespace duvelin
