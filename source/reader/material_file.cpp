#include "reader/material_file.h"

#include <system_error>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/line_list.h"

namespace duvelin {

Material ParseMaterial(std::string_view fileBytes) {
  Material material;
  bool afterSeparator = false;
  for (const std::string& line : SplitLines(FileBytesToGbk(fileBytes))) {
    if (line.starts_with(kMaterialSeparator)) {
      afterSeparator = true;
      continue;
    }
    std::string& text = afterSeparator ? material.chinese : material.english;
    text += line;
    text += "\r\n\r\n";
  }
  return material;
}

Result<Material> LoadMaterial(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error) || std::filesystem::is_directory(file, error))
    return Error{std::string(kMaterialMissingMessage)};
  auto bytes = ReadWholeFile(file);
  if (!bytes) return Error{bytes.message()};
  return ParseMaterial(*bytes);
}

std::string MaterialCaption(const std::filesystem::path& file) {
  return std::string(kApplicationTitle) + " - " + file.filename().string();
}

}  // namespace duvelin
