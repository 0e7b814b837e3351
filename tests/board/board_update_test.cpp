#include <gtest/gtest.h>

#include <array>

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

    // Stands in for the draw between updates.
    void draw() { board.scrollOffset = scrollOffsetFor(board.frameCounter, board.shiftPeriod); }
};

constexpr std::uint8_t kRed = 2;

TEST_F(BoardUpdate, FirstUpdateFillsTheLastColumnFromTheSequence) {
    board.update();
    const std::uint8_t expected[kRowCount] = {6, 5, 3, 2, 5, 0};  // 6334, 26500, ... mod 7
    for (std::int32_t row = 0; row < kRowCount; ++row) EXPECT_EQ(at(kColumnCount - 1, row), expected[row]);
    for (std::int32_t col = 0; col < kColumnCount - 1; ++col) {
        for (std::int32_t row = 0; row < kRowCount; ++row) EXPECT_EQ(at(col, row), kEmptyCell);
    }
    EXPECT_EQ(board.frameCounter, 1);
    EXPECT_EQ(board.lives, kStartLives);
}

TEST_F(BoardUpdate, EveryEightiethUpdateRotatesTheColumnsAndRefillsOnlyEmptyCells) {
    board.update();
    std::array<std::uint8_t*, kColumnCount> before;
    std::copy(std::begin(board.cells), std::end(board.cells), before.begin());
    std::uint32_t randBefore = platform::gameRandState();
    for (int i = 2; i < kShiftPeriod; ++i) board.update();
    // A full last column draws nothing.
    EXPECT_EQ(platform::gameRandState(), randBefore);
    EXPECT_EQ(at(kColumnCount - 1, 0), 6);

    board.update();
    EXPECT_EQ(board.frameCounter, kShiftPeriod);
    for (std::int32_t col = 0; col + 1 < kColumnCount; ++col) EXPECT_EQ(board.cells[col], before[col + 1]);
    EXPECT_EQ(board.cells[kColumnCount - 1], before[0]);
    EXPECT_EQ(at(kColumnCount - 2, 0), 6);
    // The old column 0 came round empty and was refilled with six fresh draws.
    platform::setGameRandState(randBefore);
    for (std::int32_t row = 0; row < kRowCount; ++row) {
        EXPECT_EQ(at(kColumnCount - 1, row), platform::gameRand() % 7) << row;
    }
}

TEST_F(BoardUpdate, ColourInColumnZeroCostsALifeAndEmptiesAllButSpecialCells) {
    at(0, 3) = kRed;
    at(0, 4) = kRed;  // emptied by the first loss: one life per update
    at(0, 1) = kSpecial;
    at(7, 2) = kSpecial;
    at(9, 5) = 4;
    fillLastColumn(kEmptyCell);
    at(kColumnCount - 1, 0) = kRed;
    board.update();
    EXPECT_EQ(board.lives, kStartLives - 1);
    EXPECT_EQ(at(0, 3), kEmptyCell);
    EXPECT_EQ(at(0, 4), kEmptyCell);
    EXPECT_EQ(at(9, 5), kEmptyCell);
    EXPECT_EQ(at(0, 1), kSpecial);
    EXPECT_EQ(at(7, 2), kSpecial);
    // Rows up to the lost one keep the emptying; later rows are refilled.
    for (std::int32_t row = 0; row <= 3; ++row) {
        std::uint8_t v = at(kColumnCount - 1, row);
        EXPECT_TRUE(v == kEmptyCell || v == kSpecial) << row;
    }
    for (std::int32_t row = 4; row < kRowCount; ++row) EXPECT_NE(at(kColumnCount - 1, row), kEmptyCell) << row;
}

TEST_F(BoardUpdate, SpecialCellsInColumnZeroCostNothing) {
    fillLastColumn(kSpecial);
    std::fill_n(board.cells[0], kRowCount, kSpecial);
    at(0, 2) = kEmptyCell;
    at(3, 3) = kRed;
    board.update();
    EXPECT_EQ(board.lives, kStartLives);
    EXPECT_EQ(at(3, 3), kRed);
}

TEST_F(BoardUpdate, LosingTheLastLifeFreezesTheBoard) {
    board.lives = 1;
    at(0, 2) = kRed;
    at(5, 4) = kRed;
    fillLastColumn(kEmptyCell);
    board.pieces.push_back(new Piece(kRed, nullptr, normalPieceSteps, columnX(1), rowY(1), 4, 0, 32, 32));
    board.update();
    EXPECT_EQ(board.lives, 0);
    EXPECT_EQ(at(1, 0), 1);
    EXPECT_EQ(at(5, 4), kRed);  // no emptying in the lost update
    // The row pass stopped at row 2: later rows were not refilled.
    EXPECT_NE(at(kColumnCount - 1, 2), kEmptyCell);
    EXPECT_EQ(at(kColumnCount - 1, 3), kEmptyCell);
    ASSERT_EQ(board.pieces.size(), 1u);
    EXPECT_EQ(board.pieces[0]->x, float(columnX(1)));

    board.score = 200;  // the sweep line would reach 255 if the update ran on
    for (int expectedLives = -1; expectedLives >= -3; --expectedLives) {
        board.update();
        EXPECT_EQ(board.lives, expectedLives);
    }
    EXPECT_EQ(board.sweepLineX, kSweepLineBase);
    EXPECT_EQ(board.pieces[0]->x, float(columnX(1)));
    EXPECT_TRUE(board.removals.empty());
}

// Which column the sweep line cleared in one update with frameCounter
// becoming frame, on a grid full of special cells; -1 for none.
std::int32_t sweptColumn(std::int32_t score, std::int32_t frame) {
    Board board(nullptr, 4);
    for (auto* column : board.cells) std::fill_n(column, kRowCount, kSpecial);
    board.score = score;
    board.frameCounter = frame - 1;
    board.update();
    std::int32_t swept = -1;
    for (std::int32_t col = 0; col < kColumnCount; ++col) {
        for (std::int32_t row = 0; row < kRowCount; ++row) {
            if (board.cells[col][row] == kEmptyCell) {
                EXPECT_TRUE(swept == -1 || swept == col);
                swept = col;
            }
        }
    }
    return swept;
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

TEST_F(BoardUpdate, PiecesFindCellsWithTheOffsetOfThePreviousDraw) {
    // Frame 79 was drawn with offset 31; update 80 shifts the columns, so
    // for this one update every cell is found a whole column further left.
    auto matchesAfterShift = [&](std::int32_t storedOffset) {
        Board b(nullptr, 4);
        b.area = kArea;
        b.frameCounter = kShiftPeriod - 1;
        b.scrollOffset = storedOffset;
        std::fill_n(b.cells[kColumnCount - 1], kRowCount, kSpecial);
        b.cells[5][1] = kRed;  // becomes column 4 in the shift
        b.pieces.push_back(new Piece(kRed, nullptr, normalPieceSteps, kArea.x + 62, rowY(1), 4, 0, 32, 32));
        b.update();
        return b.cells[4][1] == kEmptyCell && b.score >= 1;
    };
    EXPECT_TRUE(matchesAfterShift(scrollOffsetFor(kShiftPeriod - 1, kShiftPeriod)));
    EXPECT_FALSE(matchesAfterShift(0));
}

TEST_F(BoardUpdate, PiecePassReachesNewFragmentsAndKeepsSurvivorsInOrder) {
    fillLastColumn(kSpecial);
    at(3, 1) = kRed;
    at(3, 2) = kRed;  // the downward fragments fly into it
    at(3, 0) = 4;     // the leaver would stick beside it if its last step ran
    Piece* keeper = new Piece(kRed, nullptr, {stepMove}, 300, 300, 1, 0, 8, 8);
    Piece* shooter = new Piece(kRed, nullptr, normalPieceSteps, columnX(2) - 4, rowY(1), 4, 0, 32, 32);
    Piece* leaver = new Piece(kRed, nullptr, normalPieceSteps, columnX(2) - 4, kArea.y - 24, 4, 0, 32, 32);
    board.pieces = {keeper, shooter, leaver};
    draw();
    board.update();
    EXPECT_EQ(at(3, 1), kEmptyCell);
    EXPECT_EQ(at(2, 0), kEmptyCell);
    // The fragments moved in this update, from where the burst left them.
    ASSERT_GE(board.pieces.size(), 2u);
    EXPECT_EQ(board.pieces[0], keeper);
    EXPECT_EQ(keeper->x, 301.0f);
    for (std::size_t i = 1; i < board.pieces.size(); ++i) {
        EXPECT_EQ(board.pieces[i]->width, kFragmentSize);
        const Piece& f = *board.pieces[i];
        EXPECT_FALSE(f.x == float(columnX(2) + 48) && f.y == float(rowY(1) + 16)) << i;
        EXPECT_EQ(board.pieces[i]->removed, 0);
    }
    // A fragment flying down crosses the red cell of row 2 in its own update.
    EXPECT_EQ(at(3, 2), kEmptyCell);
    EXPECT_TRUE(board.removals.empty());
}

}  // namespace
