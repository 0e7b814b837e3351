#include "noise.h"

#include <cmath>

namespace contentgen {

float latticeHash(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x27d4eb2du;
  h ^= static_cast<std::uint32_t>(x) * 0x85ebca6bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xc2b2ae35u;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

static int wrapIndex(int value, int period) {
  const int r = value % period;
  return r < 0 ? r + period : r;
}

static float smoothStep(float t) { return t * t * (3.0f - 2.0f * t); }

float periodicValueNoise(float x, float y, int period, float cellSize, std::uint32_t seed) {
  const float gx = x / cellSize;
  const float gy = y / cellSize;
  const int x0 = static_cast<int>(std::floor(gx));
  const int y0 = static_cast<int>(std::floor(gy));
  const float tx = smoothStep(gx - x0);
  const float ty = smoothStep(gy - y0);
  // Wrapping the lattice indices is what makes the texture repeat exactly.
  const int ax = wrapIndex(x0, period);
  const int bx = wrapIndex(x0 + 1, period);
  const int ay = wrapIndex(y0, period);
  const int by = wrapIndex(y0 + 1, period);
  const float top = latticeHash(ax, ay, seed) + (latticeHash(bx, ay, seed) - latticeHash(ax, ay, seed)) * tx;
  const float bottom = latticeHash(ax, by, seed) + (latticeHash(bx, by, seed) - latticeHash(ax, by, seed)) * tx;
  return top + (bottom - top) * ty;
}

NoiseSource makeNoiseSource(std::uint32_t seed) {
  NoiseSource source;
  source.state = seed == 0 ? 0x9e3779b9u : seed;
  return source;
}

float nextNoise(NoiseSource& source) {
  std::uint32_t s = source.state;
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  source.state = s;
  return static_cast<float>(s >> 8) / static_cast<float>(1u << 23) - 1.0f;
}

}  // namespace contentgen
