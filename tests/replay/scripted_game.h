// The scripted game: a fixed stream of input replayed through the real rules,
// hashed after every update. The same digest on every platform means the same
// game everywhere.
#pragma once

#include <cstdint>

#include "board/board.h"

struct ScriptedGameResult {
    std::uint64_t digest = 1469598103934665603ull;  // FNV-1a over the board after each update
    std::int32_t score = 0;                         // at the end
    std::int32_t brokenAt = -1;                     // first update that broke an invariant; -1 when none did
};

// The rules' invariants after one update: cells hold a colour, the special
// block or nothing; removals are settled; the score never falls; one life at
// most goes per update (the lost state takes one every update).
bool boardKeepsItsRules(const Board& board, std::int32_t scoreBefore, std::int32_t livesBefore);

// Left button held throughout, the pointer sweeping the rows, the right button
// held in alternate 500-update stretches. Resets the game's global state
// before and after. Stops at the first broken invariant.
ScriptedGameResult playScriptedGame(int updates);
