#pragma once
#include <cstdint>
#include <random>

// The program's uniform random source: single-precision values in [0, 1),
// never 1. 24 random bits × 2^-24 is exactly representable as a float.
class RandomSource {
public:
    void seed(std::uint32_t s) { engine_.seed(s); }
    float uniform() { return float(engine_() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine_{5489u};
};
