#pragma once
// The game's one random sequence. Every draw of the game (piece colours, refilled
// cells) comes from here, never seeded, so every run on every platform plays the
// same wall of cells: state * 214013 + 2531011 (mod 2^32), result bits 16..30.
#include <cstdint>

namespace platform {

// The largest value gameRand() returns.
inline constexpr int kGameRandMax = 0x7FFF;
// The state before the first draw.
inline constexpr std::uint32_t kGameRandStartState = 1;

// Next value of the sequence, 0..kGameRandMax. The sequence starts 41, 18467, 6334.
int gameRand();

// The generator's state, for tests and replays that need to restart or
// compare the sequence.
std::uint32_t gameRandState();
void setGameRandState(std::uint32_t state);

}  // namespace platform
