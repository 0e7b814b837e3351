#pragma once

#include <cstdint>

namespace contentgen {

// Small xorshift generator for audio noise; never returns the same stream for
// different seeds, and never sticks at zero.
struct NoiseSource {
  std::uint32_t state = 0x9e3779b9u;
};

// Seeds a generator; a zero seed is replaced so the stream never dies.
NoiseSource makeNoiseSource(std::uint32_t seed);

// Next white-noise sample, uniform in -1..1.
float nextNoise(NoiseSource& source);

}  // namespace contentgen
