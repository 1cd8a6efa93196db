// Reading-material files: the English paragraphs, a separator line, then the Chinese
// paragraphs, one paragraph per line. This turns a file into the two texts the bilingual
// document holds; showing errors and filling the document are the caller's.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace duvelin {

// The application title, which the main window's caption starts with.
inline constexpr std::string_view kApplicationTitle = "Duvelin 1.2";

// "***分割符***" in GBK: a line that begins with it separates the English part from the
// Chinese part (the rest of the line is ignored).
inline constexpr std::string_view kMaterialSeparator = "***\xB7\xD6\xB8\xEE\xB7\xFB***";

// The message for a material that does not exist (its caption "错误" is the caller's).
inline constexpr std::string_view kMaterialMissingMessage = "文件不存在";

struct Material {
  std::string english;  // GBK; every paragraph followed by CR LF CR LF
  std::string chinese;  // GBK; likewise
  bool operator==(const Material&) const = default;
};

// The texts of a material from the file's bytes (GBK, or UTF-8 with a byte-order mark). Every
// line before the first separator line is English, every line after it Chinese; separator
// lines are dropped.
Material ParseMaterial(std::string_view fileBytes);

// Reads and parses a material file. A missing file (or a folder) fails with
// kMaterialMissingMessage; other read failures with the system's reason.
Result<Material> LoadMaterial(const std::filesystem::path& file);

// The main window's caption for an opened material: the application title, " - " and the file
// name without its folder (UTF-8).
std::string MaterialCaption(const std::filesystem::path& file);

}  // namespace duvelin
