// The board's rules on a bare board at the 640 x 480 layout, with no game
// behind it: the steps of pieces and fragments, and the update's edges. The
// rules as a whole are pinned by the scripted game's digest (the replay test);
// these cases name the edges it passes only once or never.
#include <gtest/gtest.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "board/board.h"

namespace {

constexpr std::uint8_t kRed = 2;
constexpr std::uint8_t kBlue = 3;

struct BareBoard : ::testing::Test {
    static constexpr SDL_Rect kArea{32, 256, 576, 192};
    Board board{nullptr, 4};

    BareBoard() {
        fillPieceStepLists();
        board.area = kArea;
    }

    // Screen point of a cell's top-left corner at the current scroll offset.
    std::int32_t columnX(std::int32_t col) const { return board.area.x - board.scrollOffset + kCellSize * col; }
    std::int32_t rowY(std::int32_t row) const { return board.area.y + kCellSize * row; }
    std::uint8_t& at(std::int32_t col, std::int32_t row) { return board.cells[col][row]; }
};

using PieceSteps = BareBoard;

constexpr std::int32_t kFiredSpeed = 4;  // pixels per update, as the game fires them
constexpr std::uint8_t E = kEmptyCell;
constexpr std::uint8_t S = kSpecial;

// Runs a piece's steps the way the board's piece pass does, once.
void runOnce(Piece& piece, Board& board) {
    for (std::size_t s = 0; s < piece.steps.size() && !piece.removed; ++s) piece.steps[s](piece, board);
}

// One contact step of a red piece fired along row 1 that stands exactly on
// column 2, with own in that cell and ahead in column 3.
TEST_F(PieceSteps, NormalPieceBurstsOnItsColourAndSticksOnAnythingElse) {
    struct Case {
        std::uint8_t own, ahead, ownAfter, aheadAfter;
        std::int32_t sound;  // -1 for none
    };
    const Case cases[] = {
        {E, kRed, E, E, kSoundMatch},
        {kRed, kRed, E, kRed, kSoundMatch},  // its own cell wins over the one ahead
        {S, kBlue, kRed, kBlue, kSoundStick},  // sticks over whatever it stands in
        {S, S, kRed, S, kSoundStick},
        {kRed, E, kRed, E, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Board fresh(nullptr, 4);
        fresh.area = kArea;
        Piece piece(kRed, nullptr, normalPieceSteps, columnX(2), rowY(1), kFiredSpeed, 0, kPieceSize, kPieceSize);
        fresh.cells[2][1] = c.own;
        fresh.cells[3][1] = c.ahead;
        stepNormalPiece(piece, fresh);
        const int burst = c.sound == kSoundMatch;
        EXPECT_EQ(std::tuple(fresh.cells[2][1], fresh.cells[3][1], fresh.score, fresh.charge, piece.removed),
                  std::tuple(c.ownAfter, c.aheadAfter, burst, burst, int(c.sound >= 0)));
        EXPECT_EQ(fresh.soundRequests[kSoundMatch] * 10 + fresh.soundRequests[kSoundStick],
                  burst * 10 + int(c.sound == kSoundStick));
        ASSERT_EQ(fresh.pieces.size(), burst ? 8u : 0u);
        // The burst starts from the piece, whichever cell it emptied.
        if (burst) { EXPECT_EQ(fresh.pieces[0]->x, float(columnX(2) + 48)); }
    }
    // A board with fewer sound slots than sounds never writes past them.
    Board oneSound(nullptr, 1);
    oneSound.area = kArea;
    oneSound.cells[3][1] = kBlue;
    Piece piece(kRed, nullptr, normalPieceSteps, columnX(2), rowY(1), kFiredSpeed, 0, kPieceSize, kPieceSize);
    stepNormalPiece(piece, oneSound);
    EXPECT_EQ(std::pair(int(piece.removed), int(oneSound.soundRequests[0])), std::pair(1, 0));
}

TEST_F(PieceSteps, SpecialPiecePloughsThroughTheRowAndLeavesOnlyAtTheEdge) {
    for (std::int32_t col = 3; col <= 7; ++col) at(col, 1) = col == 5 ? kSpecial : std::uint8_t(col % 6);
    at(4, 0) = kRed;  // another row is never touched
    Piece piece(kSpecial, nullptr, specialPieceSteps, columnX(2), rowY(1), kFiredSpeed, 0, kPieceSize, kPieceSize);
    std::int32_t updates = 0;
    for (; !piece.removed; ++updates) runOnce(piece, board);
    for (std::int32_t col = 3; col <= 7; ++col) EXPECT_EQ(at(col, 1), kEmptyCell) << col;
    EXPECT_EQ(std::tuple(at(4, 0), board.score, board.charge, board.pieces.size()),
              std::tuple(kRed, 5, 0, 5u * kBurstSize));
    EXPECT_EQ(board.soundRequests[kSoundMatch] + board.soundRequests[kSoundStick], 0);
    for (const Piece* fragment : board.pieces) EXPECT_EQ(fragment->type, kSpecial);
    // Removed by leaving the area: its point reached the right edge.
    EXPECT_EQ(piece.x, float(kArea.x + kArea.w));
    EXPECT_EQ(updates, (kArea.w - 2 * kCellSize) / kFiredSpeed);
}

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
