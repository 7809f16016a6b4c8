#pragma once
// A small generator with a fixed algorithm (splitmix64), so that a seed gives
// the same tree on every machine and with every standard library.
#include <cstdint>

class SeededRandom {
 public:
  explicit SeededRandom(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [low, high].
  uint32_t between(uint32_t low, uint32_t high) {
    return low + static_cast<uint32_t>(next() % (uint64_t(high) - low + 1));
  }
  double unit() { return (next() >> 11) * (1.0 / 9007199254740992.0); }

 private:
  uint64_t state_;
};
