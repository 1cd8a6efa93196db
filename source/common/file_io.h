// Whole-file reads and writes. Every write replaces the file atomically: the bytes go to a
// temporary file beside it, which is flushed and then renamed over the old name, so a crash or
// a full disk never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace duvelin {

Result<std::string> ReadWholeFile(const std::filesystem::path& path);

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the file if it exists; a missing file is not an error.
Status RemoveFileIfPresent(const std::filesystem::path& path);

}  // namespace duvelin
