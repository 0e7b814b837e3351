#pragma once

#include <cstdint>

namespace contentgen {

// Deterministic hash of a lattice point to 0..1, so every build makes
// byte-identical pictures and sounds from the same seed.
float latticeHash(int x, int y, std::uint32_t seed);

// Smooth value noise in 0..1 that repeats every `period` lattice cells in both
// directions; `cellSize` is the lattice spacing in pixels. Used for textures that
// must tile without seams. period and cellSize must be positive.
float periodicValueNoise(float x, float y, int period, float cellSize, std::uint32_t seed);

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
