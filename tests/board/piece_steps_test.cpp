#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace {

using PieceSteps = BareBoard;

constexpr std::uint8_t kRed = 2;
constexpr std::uint8_t kBlue = 3;
constexpr std::int32_t kFiredSpeed = 4;  // pixels per update, as the game fires them

// A piece fired along row 1 that stands exactly on column col.
Piece firedAt(BareBoard& t, const StepList& steps, std::uint8_t type, std::int32_t col) {
    return Piece(type, nullptr, steps, t.columnX(col), t.rowY(1), kFiredSpeed, 0, kPieceSize, kPieceSize);
}

// Runs a piece's steps the way the board's piece pass does, once.
void runOnce(Piece& piece, Board& board) {
    for (std::size_t s = 0; s < piece.steps.size() && !piece.removed; ++s) piece.steps[s](piece, board);
}

TEST_F(PieceSteps, NormalPieceBurstsOnItsColourAhead) {
    Piece piece = firedAt(*this, normalPieceSteps, kRed, 2);
    at(3, 1) = kRed;
    stepNormalPiece(piece, board);
    EXPECT_EQ(at(3, 1), kEmptyCell);
    EXPECT_EQ(board.pieces.size(), 8u);
    EXPECT_EQ(board.score, 1);
    EXPECT_EQ(board.charge, 1);
    EXPECT_EQ(board.soundRequests[kSoundMatch], 1);
    EXPECT_EQ(board.soundRequests[kSoundStick], 0);
    ASSERT_EQ(board.removals.size(), 1u);
    EXPECT_EQ(board.removals[0], &piece);
    EXPECT_EQ(piece.removed, 1);
}

TEST_F(PieceSteps, NormalPieceInItsOwnColourEmptiesItsOwnCellFirst) {
    Piece piece = firedAt(*this, normalPieceSteps, kRed, 2);
    at(2, 1) = kRed;
    at(3, 1) = kRed;
    stepNormalPiece(piece, board);
    EXPECT_EQ(at(2, 1), kEmptyCell);
    EXPECT_EQ(at(3, 1), kRed);
    // The burst starts from the piece, whichever cell it emptied.
    EXPECT_EQ(board.pieces[0]->x, float(columnX(2) + 48));
}

TEST_F(PieceSteps, NormalPieceSticksOnAnotherColourOrASpecialCell) {
    for (std::uint8_t ahead : {kBlue, kSpecial}) {
        Board fresh(nullptr, 4);
        fresh.area = kArea;
        Piece piece = firedAt(*this, normalPieceSteps, kRed, 2);
        fresh.cells[3][1] = ahead;
        fresh.cells[2][1] = kSpecial;  // sticking overwrites whatever it stands in
        stepNormalPiece(piece, fresh);
        EXPECT_EQ(fresh.cells[2][1], kRed);
        EXPECT_EQ(fresh.cells[3][1], ahead);
        EXPECT_EQ(fresh.score, 0);
        EXPECT_EQ(fresh.charge, 0);
        EXPECT_EQ(fresh.soundRequests[kSoundStick], 1);
        EXPECT_EQ(fresh.soundRequests[kSoundMatch], 0);
        EXPECT_TRUE(fresh.pieces.empty());
        EXPECT_EQ(piece.removed, 1);
    }
}

TEST_F(PieceSteps, FiredPiecesIgnoreAnEmptyCellAheadAndTheGridsEnd) {
    at(2, 1) = kRed;  // own colour, but nothing ahead to hit
    Piece facingGap = firedAt(*this, normalPieceSteps, kRed, 2);
    stepNormalPiece(facingGap, board);
    Piece lastColumn = firedAt(*this, specialPieceSteps, kSpecial, kColumnCount - 1);
    at(kColumnCount - 1, 1) = kBlue;
    stepSpecialPiece(lastColumn, board);
    // In a wide window a piece right of the grid finds no own cell at all.
    Piece beyond = firedAt(*this, normalPieceSteps, kRed, kColumnCount);
    stepNormalPiece(beyond, board);
    EXPECT_EQ(at(2, 1), kRed);
    EXPECT_EQ(at(kColumnCount - 1, 1), kBlue);
    EXPECT_TRUE(board.removals.empty());
    EXPECT_TRUE(board.pieces.empty());
}

TEST_F(PieceSteps, SpecialPiecePloughsThroughTheRowAndLeavesOnlyAtTheEdge) {
    for (std::int32_t col = 3; col <= 7; ++col) at(col, 1) = col == 5 ? kSpecial : std::uint8_t(col % 6);
    at(4, 0) = kRed;  // another row is never touched
    Piece piece = firedAt(*this, specialPieceSteps, kSpecial, 2);
    std::int32_t updates = 0;
    while (!piece.removed) {
        runOnce(piece, board);
        ++updates;
    }
    for (std::int32_t col = 3; col <= 7; ++col) EXPECT_EQ(at(col, 1), kEmptyCell) << col;
    EXPECT_EQ(at(4, 0), kRed);
    EXPECT_EQ(board.score, 5);
    EXPECT_EQ(board.charge, 0);
    EXPECT_EQ(board.pieces.size(), 5u * kBurstSize);
    for (const Piece* fragment : board.pieces) EXPECT_EQ(fragment->type, kSpecial);
    EXPECT_EQ(board.soundRequests[kSoundMatch] + board.soundRequests[kSoundStick], 0);
    // Removed by leaving the area: its point reached the right edge.
    EXPECT_EQ(piece.x, float(kArea.x + kArea.w));
    EXPECT_EQ(updates, (kArea.w - 2 * kCellSize) / kFiredSpeed);
}

TEST_F(PieceSteps, PieceOutsideTheAreaIsRemovedBeforeItsLastStep) {
    // Above the area: the row division would still find row 0, where this
    // piece would stick if its third step ran.
    at(1, 0) = kBlue;
    Piece piece(kRed, nullptr, normalPieceSteps, kArea.x, kArea.y - 24, kFiredSpeed, 0, kPieceSize, kPieceSize);
    runOnce(piece, board);
    EXPECT_EQ(piece.removed, 1);
    EXPECT_EQ(at(0, 0), kEmptyCell);
    EXPECT_EQ(board.soundRequests[kSoundStick], 0);
    // Each edge: left, right, top and bottom; the right and bottom edges are exclusive.
    for (auto [x, y, gone] : {std::tuple{kArea.x, kArea.y, false}, {kArea.x - 1, kArea.y, true},
                              {kArea.x + kArea.w - 1, kArea.y + kArea.h - 1, false},
                              {kArea.x + kArea.w, kArea.y, true}, {kArea.x, kArea.y - 1, true},
                              {kArea.x, kArea.y + kArea.h, true}}) {
        Piece still(kRed, nullptr, {}, x, y, 0, 0, kPieceSize, kPieceSize);
        stepLeaveArea(still, board);
        EXPECT_EQ(still.removed, gone ? 1 : 0) << x << "," << y;
    }
}

TEST_F(PieceSteps, ColouredFragmentPassesThroughItsColourAndDiesOnAnother) {
    at(4, 1) = kRed;
    at(5, 1) = kRed;
    at(6, 1) = kBlue;
    at(7, 1) = kRed;
    Piece fragment(kRed, nullptr, fragmentSteps, columnX(4) + 4, rowY(1) + 12, 15, 0, kFragmentSize, kFragmentSize);
    std::int32_t updates = 0;
    while (!fragment.removed) {
        runOnce(fragment, board);
        ++updates;
    }
    EXPECT_EQ(updates, 4);
    EXPECT_EQ(at(4, 1), kEmptyCell);
    EXPECT_EQ(at(5, 1), kEmptyCell);
    EXPECT_EQ(at(6, 1), kEmptyCell);
    EXPECT_EQ(at(7, 1), kRed);
    // Two corners fall in each cell, yet an emptied cell counts only once.
    EXPECT_EQ(board.score, 3);
    EXPECT_EQ(board.charge, 3);
    EXPECT_EQ(board.soundRequests[kSoundMatch], 1);
}

TEST_F(PieceSteps, SpecialFragmentDiesOnTheFirstColourAndAddsNoCharge) {
    at(4, 1) = kRed;
    at(5, 1) = kRed;
    Piece fragment(kSpecial, nullptr, fragmentSteps, columnX(4) + 4, rowY(1) + 12, 15, 0, kFragmentSize,
                   kFragmentSize);
    runOnce(fragment, board);
    EXPECT_EQ(fragment.removed, 1);
    EXPECT_EQ(at(4, 1), kEmptyCell);
    EXPECT_EQ(at(5, 1), kRed);
    EXPECT_EQ(board.score, 1);
    EXPECT_EQ(board.charge, 0);
    // ...but passes through special cells like a colour through its own.
    at(6, 1) = kSpecial;
    Piece throughSpecial(kSpecial, nullptr, {}, columnX(6) + 4, rowY(1) + 4, 0, 0, 8, 8);
    stepFragment(throughSpecial, board);
    EXPECT_EQ(throughSpecial.removed, 0);
    EXPECT_EQ(at(6, 1), kEmptyCell);
}

TEST_F(PieceSteps, FragmentStopsAtItsFirstForeignCorner) {
    // Corners in order (x, y), (x, y + 8), (x + 8, y), (x + 8, y + 8): the
    // first lies in a blue cell, the others in red ones that must survive.
    at(4, 1) = kBlue;
    at(4, 2) = kRed;
    at(5, 1) = kRed;
    at(5, 2) = kRed;
    Piece fragment(kRed, nullptr, {}, columnX(4) + 28, rowY(1) + 28, 0, 0, kFragmentSize, kFragmentSize);
    stepFragment(fragment, board);
    EXPECT_EQ(fragment.removed, 1);
    EXPECT_EQ(at(4, 1), kEmptyCell);
    EXPECT_EQ(at(4, 2), kRed);
    EXPECT_EQ(at(5, 1), kRed);
    EXPECT_EQ(at(5, 2), kRed);
    EXPECT_EQ(board.score, 1);
}

TEST_F(PieceSteps, BurstMakesEightFragmentsWithComputedSpeeds) {
    board.scrollOffset = 0;
    Piece source(kBlue, nullptr, {}, 100, 300, 4, 0, kPieceSize, kPieceSize);
    board.pieces.push_back(new Piece(kRed, nullptr, {}, 0, 0, 0, 0, 1, 1));  // fragments go after it
    board.spawnBurst(source, kBlue);
    ASSERT_EQ(board.pieces.size(), 9u);
    const float expected[8][2] = {{15, 0},   {10, 10},   {0, 15},  {-10, 10},
                                  {-14, 0}, {-10, -10}, {0, -14}, {10, -10}};
    for (std::size_t i = 0; i < 8; ++i) {
        const Piece& f = *board.pieces[i + 1];
        EXPECT_EQ(f.vx, expected[i][0]) << i;
        EXPECT_EQ(f.vy, expected[i][1]) << i;
        EXPECT_EQ(f.x, 148.0f);
        EXPECT_EQ(f.y, 316.0f);
        EXPECT_EQ(f.width, kFragmentSize);
        EXPECT_EQ(f.height, kFragmentSize);
        EXPECT_EQ(f.type, kBlue);
        EXPECT_EQ(f.steps, fragmentSteps);
        EXPECT_EQ(f.removed, 0);
    }
}

}  // namespace
