// How long the process has been running, for the start-up time that --exit-after-start
// prints: from the kernel's start time of the process (/proc/self/stat), or, where that cannot
// be read, from the first call of this function.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace duvelin {

int64_t MillisecondsSinceProcessStart();

// The start time field (clock ticks after boot) of a /proc/<pid>/stat line.
std::optional<uint64_t> StartTimeTicksFromStat(std::string_view statLine);

}  // namespace duvelin
