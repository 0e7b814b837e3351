// The board's rules on a bare board at the 640 x 480 layout, with no game
// behind it. The rules as a whole are pinned by the scripted game's digest
// (the replay test, which also plays 720 updates in the lost state, and whose
// sweep line clears special cells column by column); these cases cover what
// the digest cannot see: the sounds a piece asks for and the board's memory.
#include <gtest/gtest.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "board/board.h"

namespace {

constexpr std::uint8_t kRed = 2;
constexpr std::uint8_t kBlue = 3;
constexpr std::uint8_t E = kEmptyCell;
constexpr SDL_Rect kArea{32, 256, 576, 192};  // the board at 640 x 480

// A red piece fired along row 1 at 4 pixels an update, its top-left corner
// exactly on column 2 at (96, 288) while the wall stands at offset 0.
Piece firedRed() { return Piece(kRed, nullptr, normalPieceSteps, 96, 288, 4, 0, kPieceSize, kPieceSize); }

// One contact step of the piece, with a cell ahead in column 3 and its own
// cell; what becomes of the cells, the score and the fragments the scripted
// game's digest decides.
TEST(PieceSteps, NormalPieceBurstsOnItsColourAndSticksOnAnythingElse) {
    fillPieceStepLists();
    const struct {
        std::uint8_t own, ahead;  // the cells before the step
        std::int32_t sound;  // the one asked for; -1 for none
    } cases[] = {
        {.own = E, .ahead = kRed, .sound = kSoundMatch},
        {.own = kSpecial, .ahead = kBlue, .sound = kSoundStick},
        {.own = kRed, .ahead = E, .sound = -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "own cell " << +c.own << ", cell ahead " << +c.ahead);
        Board board(nullptr, 4);
        board.area = kArea;
        board.cells[2][1] = c.own;
        board.cells[3][1] = c.ahead;
        Piece piece = firedRed();
        stepNormalPiece(piece, board);
        const bool burst = c.sound == kSoundMatch;
        EXPECT_EQ(piece.removed, c.sound >= 0);
        EXPECT_EQ(board.soundRequests[kSoundMatch], burst);
        EXPECT_EQ(board.soundRequests[kSoundStick], c.sound == kSoundStick);
    }
    // A board with fewer sound slots than sounds never writes past them
    // (AddressSanitizer would say so).
    Board oneSlot(nullptr, 1);
    oneSlot.area = kArea;
    oneSlot.cells[3][1] = kBlue;
    Piece piece = firedRed();
    stepNormalPiece(piece, oneSlot);
    EXPECT_EQ(piece.removed, 1);  // it stuck
    EXPECT_EQ(oneSlot.soundRequests[0], 0);
}

#ifdef __GLIBC__
// The board owns its pieces: destroying it frees every one still in flight.
TEST(BoardModel, DestroyingTheBoardFreesItsPieces) {
    const std::size_t before = mallinfo2().uordblks;
    {
        Board board(nullptr, 4);
        for (int i = 0; i < 1000; ++i) board.addPiece(new Piece(firedRed()));
    }
    EXPECT_LT(mallinfo2().uordblks, before + 4096);
}
#endif

}  // namespace
