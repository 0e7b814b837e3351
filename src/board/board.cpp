#include "board/board.h"

#include <algorithm>

#include "platform/random.h"

Board::Board(Game* owner, std::int32_t sounds)
    : soundCount(sounds), game(owner) {
    cellStorage = std::make_unique<std::uint8_t[]>(kColumnCount * kRowCount);
    std::fill_n(cellStorage.get(), kColumnCount * kRowCount, kEmptyCell);
    for (std::int32_t col = 0; col < kColumnCount; ++col) cells[col] = cellStorage.get() + col * kRowCount;
    soundStorage = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(std::max(sounds, 0)));
    soundRequests = soundStorage.get();
    // Two draws, the current colour first: every run starts with the same pair.
    currentColour = static_cast<std::uint8_t>(platform::gameRand() % kColourCount);
    nextColour = static_cast<std::uint8_t>(platform::gameRand() % kColourCount);
}

Board::~Board() {
    for (Piece* piece : pieces) delete piece;
}

CellRef Board::cellAt(std::int32_t x, std::int32_t y) const {
    std::int32_t column = columnAt(x);
    std::int32_t row = rowAt(y);
    if (!onGrid(column, row)) return kNoCell;
    return CellRef{column, row};
}

// Out of line on purpose: inlined into the steps, the rare growth of removals
// made every step that may queue a piece save and restore six registers.
void Board::queueRemoval(Piece& piece) {
    removals.push_back(&piece);
    piece.removed = 1;
}

std::int32_t scrollOffsetFor(std::int32_t frameCounter, std::int32_t shiftPeriod) {
    float fraction = static_cast<float>(frameCounter % shiftPeriod) / static_cast<float>(shiftPeriod);
    return static_cast<std::int32_t>(static_cast<double>(fraction) * 32.0);
}
