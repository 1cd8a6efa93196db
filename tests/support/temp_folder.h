// A fresh folder below the system's temporary folder, removed with the object.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace duvelin::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  // Writes `bytes` to the relative path (folders created), returning the full path.
  std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;

 private:
  std::filesystem::path m_path;
};

}  // namespace duvelin::testing
