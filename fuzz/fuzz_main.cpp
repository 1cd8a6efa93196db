// The plain driver of a fuzz harness: runs LLVMFuzzerTestOneInput once on every file named on
// the command line (a folder stands for the files in it), so that the harness builds and runs
// without libFuzzer, on seeds and on saved findings.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    if (fs::is_directory(argv[i], error)) {
      std::vector<fs::path> inFolder;
      for (const auto& entry : fs::directory_iterator(argv[i], error))
        if (entry.is_regular_file()) inFolder.push_back(entry.path());
      std::sort(inFolder.begin(), inFolder.end());
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else if (fs::is_regular_file(argv[i], error)) {
      files.emplace_back(argv[i]);
    } else {
      std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], argv[i]);
      return 2;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: %s FILE|FOLDER...\n", argv[0]);
    return 2;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("ran %zu inputs\n", files.size());
  return 0;
}
