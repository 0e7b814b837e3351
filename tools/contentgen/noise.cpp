#include "noise.h"

namespace contentgen {

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
