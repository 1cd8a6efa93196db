// Time as the logic sees it: a millisecond tick count (for intervals) and the local wall-clock
// time (for schedules and file stamps). The program uses the system clock; tests set the time.
#pragma once

#include <cstdint>

namespace duvelin {

struct LocalDateTime {
  int year = 2000;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;  // milliseconds since an arbitrary start; wraps
  virtual LocalDateTime Now() = 0;
};

class SystemClock final : public Clock {
 public:
  uint32_t TickCount() override;
  LocalDateTime Now() override;
};

}  // namespace duvelin
