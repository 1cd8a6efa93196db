#include "common/program_folder.h"

#include <memory>
#include <stdexcept>

#include "common/gbk_text.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

std::unique_ptr<ProgramFolder>& CurrentSlot() {
  static std::unique_ptr<ProgramFolder> current;
  return current;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// The existing entry of `folder` whose name equals `component` without regard to letter case,
// or `component` itself when there is none.
std::string MatchComponent(const fs::path& folder, const std::string& component) {
  std::error_code error;
  if (fs::exists(folder / component, error)) return component;
  const std::string wanted = AsciiLower(component);
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (AsciiLower(name) == wanted) return name;
  }
  return component;
}

}  // namespace

std::string FileNameFromGbk(std::string_view gbk) { return GbkToUtf8(gbk); }

std::string GbkFromFileName(const fs::path& name) { return Utf8ToGbk(name.string()); }

fs::path ResolveCaseInsensitive(const fs::path& base, std::string_view gbkPath) {
  std::string path = FileNameFromGbk(gbkPath);
  for (char& c : path)
    if (c == '\\') c = '/';
  fs::path result = path.starts_with('/') ? fs::path("/") : base;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string component = path.substr(start, end - start);
    if (!component.empty() && component != ".") {
      if (component == "..")
        result = result.parent_path();
      else
        result /= MatchComponent(result, component);
    }
    start = end + 1;
  }
  if (!path.empty() && path.back() == '/') result /= "";
  return result;
}

ProgramFolder::ProgramFolder(fs::path root) : m_root(std::move(root)) {}

fs::path ProgramFolder::Resolve(std::string_view relative) const {
  return ResolveCaseInsensitive(m_root, relative);
}

void ProgramFolder::FixCurrent(fs::path root) {
  CurrentSlot() = std::make_unique<ProgramFolder>(std::move(root));
}

const ProgramFolder& ProgramFolder::Current() {
  if (!CurrentSlot()) throw std::logic_error("program folder not fixed");
  return *CurrentSlot();
}

fs::path ExecutableFolder() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return fs::current_path();
  return exe.parent_path();
}

}  // namespace duvelin
