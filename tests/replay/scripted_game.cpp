#include "replay/scripted_game.h"

#include "game/game.h"
#include "platform/random.h"

static void resetGlobals() {
    framesSinceShot = 0;
    platform::setGameRandState(platform::kGameRandStartState);
}

bool boardKeepsItsRules(const Board& board, std::int32_t scoreBefore, std::int32_t livesBefore) {
    for (const auto* column : board.cells)
        for (std::int32_t row = 0; row < kRowCount; ++row)
            if (column[row] > kSpecial && column[row] != kEmptyCell) return false;
    for (const Piece* p : board.pieces)
        if (p->removed != 0) return false;
    return board.removals.empty() && board.score >= scoreBefore &&
           (board.lives == livesBefore - 1 || (livesBefore > 0 && board.lives == livesBefore));
}

ScriptedGameResult playScriptedGame(int updates) {
    resetGlobals();
    ScriptedGameResult result;
    auto game = std::make_unique<Game>(nullptr, 640, 480);
    Board& board = *game->board;
    game->leftMouse.held = true;
    auto mix = [&](std::uint64_t v) { result.digest = (result.digest ^ v) * 1099511628211ull; };
    for (int n = 0; n < updates; ++n) {
        // Stands in for the draw that would precede this update.
        board.area = SDL_Rect{32, 256, 576, 192};
        board.scrollOffset = scrollOffsetFor(board.frameCounter, board.shiftPeriod);
        game->mouseY = 250 + (n * 7) % 210;
        game->rightMouse.held = (n / 500) % 2 == 1;
        const std::int32_t scoreBefore = board.score, livesBefore = board.lives;
        game->update();
        if (!boardKeepsItsRules(board, scoreBefore, livesBefore)) {
            result.brokenAt = n;
            break;
        }
        for (const auto* column : board.cells)
            for (std::int32_t row = 0; row < kRowCount; ++row) mix(column[row]);
        // Positions in sixteenths of a pixel, through int32 so that a
        // piece left of the origin hashes the same everywhere.
        for (const Piece* p : board.pieces) {
            mix(std::uint64_t(std::uint32_t(std::int32_t(p->x * 16))) ^
                (std::uint64_t(std::uint32_t(std::int32_t(p->y * 16))) << 20) ^ (std::uint64_t(p->type) << 40));
        }
        for (std::int32_t v : {board.frameCounter, board.score, board.charge, board.lives, board.sweepLineX,
                               std::int32_t(board.currentColour), std::int32_t(board.nextColour), framesSinceShot,
                               std::int32_t(platform::gameRandState())}) {
            mix(std::uint32_t(v));
        }
    }
    result.score = board.score;
    game.reset();  // before the globals go back to their start
    resetGlobals();
    return result;
}
