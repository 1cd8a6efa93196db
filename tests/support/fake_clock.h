// A Clock whose time the test sets and advances.
#pragma once

#include <ctime>

#include "common/clock.h"

namespace duvelin::testing {

class FakeClock : public Clock {
 public:
  uint32_t tick = 0;
  LocalDateTime now;

  uint32_t TickCount() override { return tick; }
  LocalDateTime Now() override { return now; }

  // Moves both the tick count and the wall clock on by `seconds`.
  void AdvanceSeconds(int seconds) {
    tick += static_cast<uint32_t>(seconds) * 1000u;
    std::tm t{};
    t.tm_year = now.year - 1900;
    t.tm_mon = now.month - 1;
    t.tm_mday = now.day;
    t.tm_hour = now.hour;
    t.tm_min = now.minute;
    t.tm_sec = now.second + seconds;
    time_t flat = timegm(&t);
    gmtime_r(&flat, &t);
    now.year = t.tm_year + 1900;
    now.month = t.tm_mon + 1;
    now.day = t.tm_mday;
    now.hour = t.tm_hour;
    now.minute = t.tm_min;
    now.second = t.tm_sec;
  }
};

}  // namespace duvelin::testing
