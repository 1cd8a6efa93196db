#include "common/random.h"

#include <chrono>

namespace duvelin {

uint32_t Chance(Random& random, uint32_t n) {
  if (n == 0) n = 1;
  return (random.CounterLow16() % n + random.Below(n)) % n;
}

SeededRandom::SeededRandom(uint64_t seed) : m_engine(seed) {}

SeededRandom::SeededRandom()
    : m_engine(static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

uint32_t SeededRandom::Below(uint32_t n) {
  if (n <= 1) return 0;
  return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_engine);
}

uint16_t SeededRandom::CounterLow16() {
  return static_cast<uint16_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace duvelin
