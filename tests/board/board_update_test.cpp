#include <gtest/gtest.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "board/board_fixture.h"

// The rules as a whole are pinned by the scripted game's digest (the replay
// test); these cases name the edges it passes only once or never.
namespace {

struct BoardUpdate : BareBoard {
    // Keeps the last column full so that updates draw nothing.
    void fillLastColumn(std::uint8_t value) { std::fill_n(board.cells[kColumnCount - 1], kRowCount, value); }
};

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
