// Line lists as the system's text files hold them: lines end with CR LF, a lone CR or a lone
// LF; a final line break does not start another line. Lists are written with CR LF after every
// line.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace duvelin {

using LineList = std::vector<std::string>;

LineList SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const LineList& lines);

// Reads a text file as GBK lines (a UTF-8 file with a byte-order mark is converted).
Result<LineList> ReadLineList(const std::filesystem::path& path);

// Writes the lines with CR LF, replacing the file atomically.
Status WriteLineList(const std::filesystem::path& path, const LineList& lines);

}  // namespace duvelin
