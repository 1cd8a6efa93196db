#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace duvelin::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "duvelin-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::remove_all(m_path, error);
}

fs::path TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  fs::path full = m_path / fs::path(std::string(relative));
  fs::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string TempFolder::Read(std::string_view relative) const {
  std::ifstream in(m_path / fs::path(std::string(relative)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace duvelin::testing
