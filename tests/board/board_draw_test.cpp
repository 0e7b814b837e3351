#include <gtest/gtest.h>

#include "board/board.h"
#include "media/texture.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::kFrameColours;
using testsupport::Rgb;

constexpr SDL_Rect kArea{32, 256, 576, 192};  // the board at 640 x 480
const Rgb kBlack{0, 0, 0};
const Rgb kSweepGrey{150, 150, 150};
const Rgb kLivesRed{255, 0, 0};

struct BoardDrawing : testing::Test {
    Canvas canvas{640, 480};
    testsupport::TempDir dir;
    std::unique_ptr<Texture> sheet;
    Board board{nullptr, 4};

    void SetUp() override {
        testsupport::writeSolidSheet(dir.file("sheet.bmp"), 7, 32, 32);
        sheet = std::make_unique<Texture>(dir.file("sheet.bmp"), 7, canvas.renderer);
        // Keep the previews off the tests' cells: colours the tests do not place.
        board.currentColour = 0;
        board.nextColour = 0;
    }
    void drawAt(std::int32_t frameCounter) {
        board.frameCounter = frameCounter;
        canvas.clear(kBlack);
        board.draw(canvas.renderer, *sheet, kArea);
    }
    // Width of the run of colour c on row y that starts at x0.
    int runWidth(Rgb c, int y, int x0) {
        int x = x0;
        while (x < 640 && canvas.pixel(x, y) == c) ++x;
        return x - x0;
    }
};

TEST_F(BoardDrawing, ScrollOffsetAndAreaAreStoredForTheNextUpdate) {
    drawAt(0);
    EXPECT_EQ(board.scrollOffset, 0);
    EXPECT_EQ(board.area.y, 256);
    // Two pixels every five frames, 31 at the end of a period.
    for (auto [frame, offset] : {std::pair{5, 2}, {25, 10}, {79, 31}, {80, 0}, {161, 0}, {162, 0}, {163, 1}}) {
        drawAt(frame);
        EXPECT_EQ(board.scrollOffset, offset) << frame;
        EXPECT_EQ(scrollOffsetFor(frame, kShiftPeriod), offset) << frame;
    }
}

TEST_F(BoardDrawing, LeftEdgeCellIsTrimmedFromItsSource) {
    board.cells[0][1] = 2;  // row 1, y 288..319
    drawAt(25);             // offset 10
    // Only the 22 pixels inside the area show, from x 32.
    EXPECT_EQ(canvas.count(kFrameColours[2], SDL_Rect{0, 288, 640, 32}), 22 * 32);
    EXPECT_EQ(canvas.pixel(32, 300), kFrameColours[2]);
    EXPECT_EQ(canvas.pixel(53, 300), kFrameColours[2]);
    EXPECT_EQ(canvas.pixel(54, 300), kBlack);
    EXPECT_EQ(canvas.pixel(31, 300), kBlack);

    EdgeCellCopy copy = edgeCellCopy(kArea, SDL_Rect{22, 288, 32, 32}, 2, SDL_Rect{0, 0, 32, 32});
    EXPECT_EQ(copy.source.x, 32 * 2 + 10);
    EXPECT_EQ(copy.source.w, 22);
    EXPECT_EQ(copy.destination.x, 32);
    EXPECT_EQ(copy.destination.w, 22);
    // A sheet with 16-pixel frames is sampled at half the rate.
    copy = edgeCellCopy(kArea, SDL_Rect{22, 288, 32, 32}, 2, SDL_Rect{0, 0, 16, 16});
    EXPECT_EQ(copy.source.x, 37);
    EXPECT_EQ(copy.source.w, 11);
}

TEST_F(BoardDrawing, RightEdgeColumnsShowOnlyWhileScrolledIn) {
    for (int col = 17; col < kColumnCount; ++col) board.cells[col][0] = static_cast<std::uint8_t>(col - 16);
    drawAt(0);
    // Column 17 is whole; column 18 starts exactly at the right edge and shows nothing.
    EXPECT_EQ(canvas.count(kFrameColours[1]), 32 * 32);
    EXPECT_EQ(canvas.count(kFrameColours[2]), 0);
    EXPECT_EQ(canvas.count(kFrameColours[3]), 0);
    EXPECT_EQ(canvas.count(kFrameColours[4]), 0);
    drawAt(25);  // offset 10: column 18 shows its left 10 pixels, 19 and 20 never
    EXPECT_EQ(canvas.count(kFrameColours[2]), 10 * 32);
    EXPECT_EQ(canvas.pixel(598, 260), kFrameColours[2]);
    EXPECT_EQ(canvas.pixel(607, 260), kFrameColours[2]);
    EXPECT_EQ(canvas.pixel(608, 260), kBlack);
    EXPECT_EQ(canvas.count(kFrameColours[3]), 0);
    EXPECT_EQ(canvas.count(kFrameColours[4]), 0);
}

TEST_F(BoardDrawing, PiecesAreDrawnWholeAndUnclipped) {
    Piece piece(5, sheet.get(), {}, 600, 300, 4, 0, 32, 32);  // reaches past the right edge
    Piece fragment(3, sheet.get(), {}, 300, 150, 0, 0, 8, 8);  // above the area
    board.pieces = {&piece, &fragment};
    drawAt(0);
    board.pieces.clear();
    EXPECT_EQ(canvas.count(kFrameColours[5], SDL_Rect{600, 300, 32, 32}), 32 * 32);
    EXPECT_EQ(canvas.count(kFrameColours[3], SDL_Rect{300, 150, 8, 8}), 64);
}

TEST_F(BoardDrawing, PreviewsSweepLineAndLivesBar) {
    board.currentColour = 3;
    board.nextColour = 4;
    drawAt(0);
    // Large current colour on a special plate at x 96..127, small next colour at 128..159.
    EXPECT_EQ(canvas.count(kFrameColours[3], SDL_Rect{96, 192, 32, 32}), 24 * 24);
    EXPECT_EQ(canvas.pixel(100, 196), kFrameColours[3]);
    EXPECT_EQ(canvas.pixel(97, 193), kFrameColours[kSpecial]);
    EXPECT_EQ(canvas.count(kFrameColours[4], SDL_Rect{128, 192, 32, 32}), 16 * 16);
    EXPECT_EQ(canvas.pixel(136, 200), kFrameColours[4]);
    // Sweep line: the outline of a 4-pixel strip at area.x + 64 over the board's height.
    EXPECT_EQ(canvas.pixel(96, 256), kSweepGrey);
    EXPECT_EQ(canvas.pixel(96, 447), kSweepGrey);
    EXPECT_EQ(canvas.pixel(99, 300), kSweepGrey);
    EXPECT_EQ(canvas.pixel(97, 300), kBlack);
    // Four lives: 64 red pixels from x 32, y 204..211.
    EXPECT_EQ(canvas.count(kLivesRed), 64 * 8);
    EXPECT_EQ(canvas.count(kLivesRed, SDL_Rect{32, 204, 64, 8}), 64 * 8);

    for (int lives : {0, -3}) {
        board.lives = lives;
        drawAt(0);
        EXPECT_EQ(canvas.count(kLivesRed), 0) << lives;
    }
}

TEST_F(BoardDrawing, ChargeBarWidthAndCyanRamp) {
    struct Case {
        int charge, width;
        std::uint8_t green;
    };
    for (Case c : {Case{0, 0, 0}, {25, 40, 159}, {39, 62, 248}, {40, 64, 255}, {41, 64, 255}, {400, 64, 255}}) {
        ChargeBar bar = chargeBarFor(c.charge);
        EXPECT_EQ(bar.width, c.width) << c.charge;
        EXPECT_EQ(bar.green, c.green) << c.charge;
        board.charge = c.charge;
        board.frameCounter = 0;
        canvas.clear({7, 7, 7});
        board.draw(canvas.renderer, *sheet, kArea);
        EXPECT_EQ(runWidth(Rgb{0, c.green, c.green}, 207, 160), c.charge == 0 ? 0 : c.width) << c.charge;
        // The draw colour is left at the charge bar's colour.
        Uint8 r, g, b, a;
        SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(g, c.green);
        EXPECT_EQ(b, c.green);
        EXPECT_EQ(a, 255);
    }
}

TEST(BoardModel, CellAtUsesTheLatestDrawAndTruncates) {
    Board board(nullptr, 4);
    board.area = kArea;
    board.scrollOffset = 10;
    const int left = kArea.x - 10;
    EXPECT_EQ(board.cellAt(left, kArea.y), (CellRef{0, 0}));
    EXPECT_EQ(board.cellAt(left + 671, kArea.y + 191), (CellRef{20, 5}));
    EXPECT_EQ(board.cellAt(left + 672, kArea.y), kNoCell);
    EXPECT_EQ(board.cellAt(left, kArea.y + 192), kNoCell);
    // Division truncates toward zero: just left of or above the grid is still column or row 0.
    EXPECT_EQ(board.cellAt(left - 31, kArea.y - 31), (CellRef{0, 0}));
    EXPECT_EQ(board.cellAt(left - 32, kArea.y), kNoCell);
}

}  // namespace
