// The board's rule book, run once per frame: the clock, the drifting wall,
// lives, the sweep line, the pieces' steps and their removal.
#include <algorithm>
#include <cmath>

#include "board/board.h"
#include "game/game.h"
#include "platform/random.h"

namespace {

// A refilled cell is any colour or the special value.
constexpr int kRefillValues = kColourCount + 1;
// The background figure swells by this much per update once the game is lost.
constexpr double kLostGrowth = 0.03125;
// The colour planted in the lost state so that every later update finds a
// colour in column 0 again after the next shift.
constexpr CellRef kLostMarkerCell{1, 0};
constexpr std::uint8_t kLostMarkerColour = 1;
constexpr double kSweepColumnsPerPixel = 0.03125;

bool holdsColour(std::uint8_t value) { return value != kEmptyCell && value != kSpecial; }

}  // namespace

void Board::update() {
    frameCounter += 1;
    std::fill_n(soundRequests, soundCount, std::uint8_t{0});
    if (frameCounter % shiftPeriod == 0) shiftColumnsLeft();
    if (!refillAndCheckLives()) return;  // lost: the board stays frozen
    sweepSpecialCells();
    runPieceSteps();
    destroyRemovedPieces();
}

void Board::shiftColumnsLeft() {
    // The leftmost column's array comes round as the new last column, still
    // holding its cells; the row pass refills what is empty there.
    std::rotate(cells, cells + 1, cells + columnCount);
}

bool Board::refillAndCheckLives() {
    std::uint8_t* lastColumn = cells[columnCount - 1];
    for (std::int32_t row = 0; row < rowCount; ++row) {
        if (lastColumn[row] == kEmptyCell) {
            lastColumn[row] = static_cast<std::uint8_t>(platform::gameRand() % kRefillValues);
        }
        if (!holdsColour(cells[0][row])) continue;
        lives -= 1;
        if (game) game->playSound(kSoundLifeLost);
        if (lives <= 0) {
            enterLostState();
            return false;
        }
        emptyAllButSpecialCells();
    }
    return true;
}

void Board::enterLostState() {
    if (game && game->background) {
        Rig& rig = game->background->rig;
        for (std::int32_t i = 0; i < rig.boneCount; ++i) {
            rig.bones[i].scale = static_cast<float>(static_cast<double>(rig.bones[i].scale) + kLostGrowth);
        }
    }
    cell(kLostMarkerCell) = kLostMarkerColour;
}

void Board::emptyAllButSpecialCells() {
    for (std::int32_t col = 0; col < columnCount; ++col) {
        for (std::int32_t row = 0; row < rowCount; ++row) {
            if (cells[col][row] != kSpecial) cells[col][row] = kEmptyCell;
        }
    }
}

void Board::sweepSpecialCells() {
    sweepLineX = std::min(score + kSweepLineBase, kSweepLineMax);
    // The offset this frame's draw is about to store: the sweep follows what
    // the player will see, not the stale offset the pieces use.
    std::int32_t s = scrollOffsetFor(frameCounter, shiftPeriod);
    if (sweepLineX % kCellSize + s < kCellSize - 1) return;
    auto column = static_cast<std::int32_t>(std::ceil(sweepLineX * kSweepColumnsPerPixel));
    for (std::int32_t row = 0; row < rowCount; ++row) {
        if (cells[column][row] == kSpecial) cells[column][row] = kEmptyCell;
    }
}

void Board::runPieceSteps() {
    // By index: bursts append fragments during the pass, and they take their
    // first steps in this same update.
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        Piece& piece = *pieces[i];
        // No step changes a piece's own list, so it is walked without
        // re-reading its size after every call.
        for (PieceStep step : piece.steps) {
            if (piece.removed) break;
            step(piece, *this);
        }
    }
}

void Board::destroyRemovedPieces() {
    // Exactly the queued pieces carry the flag, so one stable pass drops them
    // all and keeps the others in order.
    std::erase_if(pieces, [](const Piece* piece) { return piece->removed != 0; });
    for (Piece* piece : removals) delete piece;
    removals.clear();
}
