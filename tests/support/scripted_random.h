// A Random that answers from a script: each draw takes the next scripted value (modulo the
// range); when the script runs out it answers 0.
#pragma once

#include <deque>

#include "common/random.h"

namespace duvelin::testing {

class ScriptedRandom : public Random {
 public:
  std::deque<uint32_t> values;
  uint16_t counter = 0;

  uint32_t Below(uint32_t n) override {
    if (n <= 1) {
      if (!values.empty()) values.pop_front();
      return 0;
    }
    if (values.empty()) return 0;
    uint32_t value = values.front();
    values.pop_front();
    return value % n;
  }
  uint16_t CounterLow16() override { return counter; }
};

}  // namespace duvelin::testing
