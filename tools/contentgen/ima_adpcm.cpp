#include "ima_adpcm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

namespace contentgen {

namespace {

// The IMA ADPCM tables: the step at each of the 89 step indices, and how a
// code's magnitude moves the index.
constexpr std::array<std::int32_t, 89> kSteps = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kIndexMoves = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr std::size_t kBlockHeaderBytes = 4;  // first sample (16 bits), step index, a zero byte

static_assert((kSoundFileBlockSamples - 1) % 8 == 0 && kSoundFileBlockBytes == kBlockHeaderBytes + (kSoundFileBlockSamples - 1) / 2,
              "a block holds its first sample and whole groups of eight codes, with no spare room");

// The decoder's state between samples.
struct Predictor {
  std::int32_t sample = 0;
  int index = 0;

  // The sample `code` decodes to from here, with the decoder's shifts (which
  // drop bits) and its clamp to 16 bits.
  std::int32_t next(unsigned code) const {
    const std::int32_t step = kSteps[index];
    std::int32_t delta = step >> 3;
    if (code & 4) delta += step;
    if (code & 2) delta += step >> 1;
    if (code & 1) delta += step >> 2;
    if (code & 8) delta = -delta;
    return std::clamp(sample + delta, std::int32_t{-32768}, std::int32_t{32767});
  }
  void take(unsigned code) {
    sample = next(code);
    index = std::clamp(index + kIndexMoves[code & 7], 0, 88);
  }
};

// The code whose decoded sample lands nearest `target` without going past
// `ceiling` either way (or, if every code does, the one going past least).
unsigned nearestCode(const Predictor& p, std::int32_t target, std::int32_t ceiling) {
  const auto cost = [&](unsigned code) {
    const std::int32_t decoded = p.next(code);
    const std::int32_t over = std::max(std::abs(decoded) - ceiling, 0);
    return std::pair{over, std::abs(decoded - target)};
  };
  unsigned best = 0;
  for (unsigned code = 1; code < 16; ++code)
    if (cost(code) < cost(best)) best = code;
  return best;
}

// One block's codes from `p` on, each the nearest, and the squared error they leave.
struct BlockCodes {
  std::vector<unsigned> codes;
  double squaredError = 0.0;
  Predictor end;
};

BlockCodes encodeBlockFrom(Predictor p, const std::int16_t* samples, std::int32_t ceiling) {
  BlockCodes block;
  block.codes.reserve(kSoundFileBlockSamples - 1);
  for (std::int32_t i = 1; i < kSoundFileBlockSamples; ++i) {
    const unsigned code = nearestCode(p, samples[i], ceiling);
    p.take(code);
    block.codes.push_back(code);
    block.squaredError += double(p.sample - samples[i]) * double(p.sample - samples[i]);
  }
  block.end = p;
  return block;
}

// Step indices either side of the running one a block header may start on
// instead. The nearest code of each sample is short-sighted: it lets the step
// shrink before a steep stretch and then lags behind; a block starting on a
// larger step (or a smaller one in a quiet stretch) can follow closer.
constexpr int kHeaderIndexReach = 16;

std::vector<std::uint8_t> encodeBlocks(const std::vector<std::int16_t>& samples, std::int32_t ceiling) {
  std::vector<std::uint8_t> out;
  out.reserve(samples.size() / kSoundFileBlockSamples * kSoundFileBlockBytes);
  int runningIndex = 0;
  for (std::size_t first = 0; first < samples.size(); first += kSoundFileBlockSamples) {
    // The header restarts the decoder on an exact sample, at the step index
    // that leaves the block nearest the signal.
    BlockCodes best;
    int bestIndex = 0;
    for (int index = std::max(0, runningIndex - kHeaderIndexReach);
         index <= std::min(88, runningIndex + kHeaderIndexReach); ++index) {
      BlockCodes tried = encodeBlockFrom({samples[first], index}, &samples[first], ceiling);
      if (best.codes.empty() || tried.squaredError < best.squaredError) {
        best = std::move(tried);
        bestIndex = index;
      }
    }
    runningIndex = best.end.index;
    out.push_back(static_cast<std::uint8_t>(samples[first] & 0xff));
    out.push_back(static_cast<std::uint8_t>((samples[first] >> 8) & 0xff));
    out.push_back(static_cast<std::uint8_t>(bestIndex));
    out.push_back(0);
    // Two codes a byte, the earlier sample in the low half.
    for (std::size_t i = 0; i < best.codes.size(); i += 2)
      out.push_back(static_cast<std::uint8_t>(best.codes[i] | best.codes[i + 1] << 4));
  }
  return out;
}

std::vector<std::int16_t> quantise(const std::vector<float>& samples, double gain) {
  std::vector<std::int16_t> out;
  out.reserve(samples.size());
  for (float s : samples) out.push_back(static_cast<std::int16_t>(std::lround(std::clamp(s * gain, -1.0, 1.0) * 32767.0)));
  return out;
}

std::int32_t peakOf(const std::vector<std::int16_t>& samples) {
  std::int32_t peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(std::int32_t{s}));
  return peak;
}

// The gains tried, from 1 upwards kGainSpacing apart. No code decodes past
// the intended peak, so the loudest samples land on or under it by up to a
// quarter of their step (hundreds at full loudness); a slightly louder
// input shifts where they land, and among these tries one lands on the peak
// or a few units under it.
constexpr int kGainTries = 20;
constexpr double kGainSpacing = 0.0004;

}  // namespace

std::vector<std::uint8_t> encodeImaAdpcm(const std::vector<float>& samples) {
  if (samples.empty() || samples.size() % kSoundFileBlockSamples != 0)
    throw std::invalid_argument("a sound file holds whole blocks of " + std::to_string(kSoundFileBlockSamples) +
                                " samples");
  const std::int32_t target = peakOf(quantise(samples, 1.0));
  std::vector<std::uint8_t> best;
  std::int32_t bestMiss = 32768;
  for (int i = 0; i <= kGainTries && bestMiss > 0; ++i) {
    std::vector<std::uint8_t> tried = encodeBlocks(quantise(samples, 1.0 + i * kGainSpacing), target);
    const std::int32_t miss = std::abs(peakOf(decodeImaAdpcm(tried)) - target);
    if (miss < bestMiss) {
      best = std::move(tried);
      bestMiss = miss;
    }
  }
  return best;
}

std::vector<std::int16_t> decodeImaAdpcm(const std::vector<std::uint8_t>& blocks) {
  std::vector<std::int16_t> out;
  out.reserve(blocks.size() / kSoundFileBlockBytes * kSoundFileBlockSamples);
  for (std::size_t at = 0; at + kSoundFileBlockBytes <= blocks.size(); at += kSoundFileBlockBytes) {
    Predictor p;
    p.sample = static_cast<std::int16_t>(blocks[at] | blocks[at + 1] << 8);
    p.index = std::clamp(int{blocks[at + 2]}, 0, 88);
    out.push_back(static_cast<std::int16_t>(p.sample));
    for (std::size_t i = at + kBlockHeaderBytes; i < at + kSoundFileBlockBytes; ++i) {
      for (unsigned code : {blocks[i] & 0x0fu, unsigned{blocks[i]} >> 4}) {
        p.take(code);
        out.push_back(static_cast<std::int16_t>(p.sample));
      }
    }
  }
  return out;
}

}  // namespace contentgen
