// Chance as the logic sees it. `Below`(n) is a uniform draw in 0..n-1 (n = 0 counts as 1);
// `CounterLow16` stands for the low 16 bits of the high-resolution performance counter. The
// game's draw `Chance`(n) combines both. The program seeds from the clock; tests seed or script.
#pragma once

#include <cstdint>
#include <random>

namespace duvelin {

class Random {
 public:
  virtual ~Random() = default;
  virtual uint32_t Below(uint32_t n) = 0;
  virtual uint16_t CounterLow16() = 0;

  // A uniform integer in low..high (both included).
  int Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1)));
  }
};

// (counter low 16 bits mod n + uniform below n) mod n, with n = 0 counting as 1.
uint32_t Chance(Random& random, uint32_t n);

class SeededRandom final : public Random {
 public:
  explicit SeededRandom(uint64_t seed);
  SeededRandom();  // seeded from the clock
  void Seed(uint64_t seed) { m_engine.seed(seed); }
  uint32_t Below(uint32_t n) override;
  uint16_t CounterLow16() override;

 private:
  std::mt19937_64 m_engine;
};

}  // namespace duvelin
