#include <gtest/gtest.h>

#include <array>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "board/board_fixture.h"

namespace {

struct BoardUpdate : BareBoard {
    BoardUpdate() {
        // Refills draw from the sequence; pin it where the board's two colour
        // draws leave it.
        platform::setGameRandState(platform::kGameRandStartState);
        platform::gameRand();
        platform::gameRand();
    }

    // Keeps the last column full so that updates draw nothing.
    void fillLastColumn(std::uint8_t value) { std::fill_n(board.cells[kColumnCount - 1], kRowCount, value); }
    // Column col's cells; an empty column past the last.
    std::vector<std::uint8_t> column(std::int32_t col) const {
        return col < kColumnCount ? std::vector(board.cells[col], board.cells[col] + kRowCount)
                                  : std::vector(kRowCount, kEmptyCell);
    }
};

TEST_F(BoardUpdate, FirstUpdateFillsTheLastColumnAndEveryEightiethRotatesTheColumns) {
    board.update();
    EXPECT_EQ(column(kColumnCount - 1), (std::vector<std::uint8_t>{6, 5, 3, 2, 5, 0}));  // 6334, 26500, ... mod 7
    for (std::int32_t col = 0; col + 1 < kColumnCount; ++col) EXPECT_EQ(column(col), column(kColumnCount)) << col;
    std::array<std::uint8_t*, kColumnCount> before;
    std::copy(std::begin(board.cells), std::end(board.cells), before.begin());
    std::uint32_t randBefore = platform::gameRandState();
    for (int i = 2; i < kShiftPeriod; ++i) board.update();
    EXPECT_EQ(platform::gameRandState(), randBefore);  // a full last column draws nothing

    board.update();
    for (std::int32_t col = 0; col < kColumnCount; ++col) EXPECT_EQ(board.cells[col], before[(col + 1) % kColumnCount]);
    // The old column 0 came round empty and was refilled with six fresh draws.
    platform::setGameRandState(randBefore);
    for (std::int32_t row = 0; row < kRowCount; ++row) {
        EXPECT_EQ(at(kColumnCount - 1, row), platform::gameRand() % 7) << row;
    }
}

// Column 0 holds, top to bottom: empty, special, empty, red, red, empty.
TEST_F(BoardUpdate, ColourInColumnZeroCostsALifeAndEmptiesAllButSpecialCells) {
    struct Cell {
        std::int32_t col, row;
        std::uint8_t before, after;
    };
    const Cell cells[] = {{0, 1, kSpecial, kSpecial},  // costs nothing
                          {0, 3, kRed, kEmptyCell},
                          {0, 4, kRed, kEmptyCell},  // emptied by the first loss: one life per update
                          {7, 2, kSpecial, kSpecial},
                          {9, 5, 4, kEmptyCell}};
    for (const Cell& c : cells) at(c.col, c.row) = c.before;
    fillLastColumn(kEmptyCell);
    at(kColumnCount - 1, 0) = kRed;
    board.update();
    EXPECT_EQ(board.lives, kStartLives - 1);
    for (const Cell& c : cells) EXPECT_EQ(at(c.col, c.row), c.after) << c.col << "," << c.row;
    // Rows up to the lost one keep the emptying; later rows are refilled.
    for (std::int32_t row = 0; row < kRowCount; ++row) {
        std::uint8_t v = at(kColumnCount - 1, row);
        EXPECT_EQ(v == kEmptyCell || v == kSpecial, row <= 3) << row;
    }
}

TEST_F(BoardUpdate, LosingTheLastLifeFreezesTheBoard) {
    board.lives = 1;
    at(0, 2) = at(5, 4) = kRed;
    fillLastColumn(kEmptyCell);
    board.pieces.push_back(new Piece(kRed, nullptr, normalPieceSteps, columnX(1), rowY(1), 4, 0, 32, 32));
    board.score = 200;  // the sweep line would reach 255 if the update ran on
    for (int expectedLives = 0; expectedLives >= -3; --expectedLives) {
        board.update();
        EXPECT_EQ(board.lives, expectedLives);
        EXPECT_EQ(at(1, 0), 1);     // planted so that the loss repeats every update
        EXPECT_EQ(at(5, 4), kRed);  // no emptying in the lost update
        // The row pass stopped at row 2: later rows were not refilled.
        EXPECT_NE(at(kColumnCount - 1, 2), kEmptyCell);
        EXPECT_EQ(at(kColumnCount - 1, 3), kEmptyCell);
        EXPECT_EQ(board.sweepLineX, kSweepLineBase);
        ASSERT_EQ(board.pieces.size(), 1u);
        EXPECT_EQ(board.pieces[0]->x, float(columnX(1)));
    }
}

// Which column the sweep line cleared in one update with frameCounter
// becoming frame, on a grid full of special cells; -1 for none, -2 for a
// partial or wider clearing.
std::int32_t sweptColumn(std::int32_t score, std::int32_t frame) {
    Board board(nullptr, 4);
    for (auto* column : board.cells) std::fill_n(column, kRowCount, kSpecial);
    board.score = score;
    board.frameCounter = frame - 1;
    board.update();
    std::int32_t swept = -1, emptied = 0;
    for (std::int32_t col = 0; col < kColumnCount; ++col) {
        for (std::int32_t row = 0; row < kRowCount; ++row) {
            if (board.cells[col][row] != kEmptyCell) continue;
            swept = col;
            ++emptied;
        }
    }
    return emptied == 0 || emptied == kRowCount ? swept : -2;
}

TEST(SweepLine, ClearsSpecialCellsOnlyWhereTheLineMeetsTheirColumn) {
    for (std::int32_t frame = 1; frame <= 2 * kShiftPeriod; ++frame) {
        std::int32_t phase = frame % kShiftPeriod;
        EXPECT_EQ(sweptColumn(0, frame), phase >= 78 ? 2 : -1) << frame;
        EXPECT_EQ(sweptColumn(16, frame), phase >= 38 ? 3 : -1) << frame;
        EXPECT_EQ(sweptColumn(191, frame), 8) << frame;
        EXPECT_EQ(sweptColumn(5000, frame), 8) << frame;
    }
}

#ifdef __GLIBC__
// The board owns its pieces: destroying it frees every one still in flight.
TEST(BoardModel, DestroyingTheBoardFreesItsPieces) {
    const std::size_t before = mallinfo2().uordblks;
    {
        Board board(nullptr, 4);
        for (int i = 0; i < 1000; ++i) board.addPiece(new Piece(kRed, nullptr, normalPieceSteps, 0, 0, 4, 0, 32, 32));
    }
    EXPECT_LT(mallinfo2().uordblks, before + 4096);
}
#endif

}  // namespace
