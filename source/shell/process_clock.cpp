#include "shell/process_clock.h"

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

namespace duvelin {

std::optional<uint64_t> StartTimeTicksFromStat(std::string_view statLine) {
  // The command name in brackets may hold blanks; fields are counted after its ")". The start
  // time is field 22, so the 20th after the bracket (field 3 is the first).
  const size_t bracket = statLine.rfind(')');
  if (bracket == std::string_view::npos) return std::nullopt;
  std::string_view rest = statLine.substr(bracket + 1);
  int field = 2;
  size_t position = 0;
  while (position < rest.size()) {
    while (position < rest.size() && rest[position] == ' ') ++position;
    if (position >= rest.size()) break;
    const size_t end = std::min(rest.find(' ', position), rest.size());
    ++field;
    if (field == 22) {
      uint64_t value = 0;
      for (size_t i = position; i < end; ++i) {
        if (rest[i] < '0' || rest[i] > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(rest[i] - '0');
      }
      return value;
    }
    position = end;
  }
  return std::nullopt;
}

int64_t MillisecondsSinceProcessStart() {
  static const auto firstCall = std::chrono::steady_clock::now();
  std::ifstream stat("/proc/self/stat");
  std::string line((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const long ticksPerSecond = sysconf(_SC_CLK_TCK);
  timespec now{};
  if (std::optional<uint64_t> ticks = StartTimeTicksFromStat(line);
      ticks && ticksPerSecond > 0 && clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
    const int64_t nowMs = static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    const int64_t startMs = static_cast<int64_t>(*ticks * 1000 / static_cast<uint64_t>(ticksPerSecond));
    if (nowMs >= startMs) return nowMs - startMs;
  }
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - firstCall).count();
}

}  // namespace duvelin
