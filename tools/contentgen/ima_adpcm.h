#pragma once
// The sound files' samples: mono IMA ADPCM in whole blocks of
// kSoundFileBlockSamples, four bits a sample after each block's exact first
// sample, decoded here exactly as the game's WAV loader (SDL's) decodes them.
#include <cstdint>
#include <vector>

#include "media/content.h"  // kSoundFileBlockSamples, kSoundFileBlockBytes

namespace contentgen {

// Encodes samples (within -1..1 of full scale) as whole blocks, each
// kSoundFileBlockBytes long. The decoded sound never passes the samples' own
// peak and reaches it to within a few units in 32767: the input's gain is
// raised in small steps (at most 0.07 dB) until the decoded peak lands there.
// Throws std::invalid_argument unless the count is a positive whole number of
// blocks.
std::vector<std::uint8_t> encodeImaAdpcm(const std::vector<float>& samples);

// The 16-bit samples the blocks decode to; a trailing partial block is
// ignored, as the game's loader ignores it.
std::vector<std::int16_t> decodeImaAdpcm(const std::vector<std::uint8_t>& blocks);

}  // namespace contentgen
