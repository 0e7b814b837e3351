// The board drawn on a software canvas at the 640 x 480 layout, from a sheet
// of solid frames, so that a pixel's colour names the frame drawn there.
#include <gtest/gtest.h>

#include "board/board.h"
#include "media/texture.h"
#include "support/canvas.h"

// How a failed check shows a cell.
void PrintTo(const CellRef& c, std::ostream* out) { *out << "column " << c.column << ", row " << c.row; }

namespace {

using namespace testsupport;


constexpr SDL_Rect kArea{32, 256, 576, 192};  // the board at 640 x 480

struct BoardDrawing : testing::Test {
    Canvas canvas{640, 480};
    TempDir dir;
    std::unique_ptr<Texture> sheet;
    Board board{nullptr, 4};

    void SetUp() override {
        writeSolidSheet(dir.file("sheet.bmp"), 7, 32, 32);
        sheet = std::make_unique<Texture>(dir.file("sheet.bmp"), 7, canvas.renderer);
        board.currentColour = board.nextColour = 0;  // colours the tests do not place
    }
    void drawAt(std::int32_t frameCounter) {
        board.frameCounter = frameCounter;
        canvas.clear({0, 0, 0});
        board.draw(canvas.renderer, *sheet, kArea);
    }
    // Pixels of sheet frame `frame` inside r, or anywhere.
    int count(int frame, SDL_Rect r = {0, 0, 640, 480}) const { return canvas.count(frameColour(frame), r); }
};

// Column 0 in row 1 (frame 2) and columns 17 to 20 in row 0 (frames 1 to 4),
// with the wall 10 pixels left of its place: only what lies inside the area
// shows, with no clip rectangle set.
TEST_F(BoardDrawing, EdgeColumnsAreTrimmedToTheArea) {
    board.cells[0][1] = 2;
    for (int col = 17; col < kColumnCount; ++col) board.cells[col][0] = std::uint8_t(col - 16);
    drawAt(0);
    EXPECT_EQ(count(2), 1024);  // column 0 exactly at the left edge is whole; 18 starts at the right edge
    drawAt(25);
    EXPECT_EQ(count(2, {32, 288, 22, 32}), 704);  // column 0 from x 32: 22 of its 32 pixels across
    EXPECT_EQ(count(2, {598, 256, 10, 32}), 320);  // column 18's left 10
    EXPECT_EQ(count(2), 1024);  // and nothing else of either
    EXPECT_EQ(count(3), 0);
}

// A cell crossing an edge of the area is copied in part, from the matching
// part of its frame; here a sheet of 16-pixel frames, sampled at half the rate.
TEST(BoardModel, EdgeCellCopyTakesOnlyThePartInsideTheArea) {
    // 10 of the cell's 32 pixels lie left of the area: 5 of the frame's 16.
    EdgeCellCopy copy = edgeCellCopy(kArea, {22, 288, 32, 32}, 2, {0, 0, 16, 16});
    EXPECT_EQ(copy.source.x, 37);  // 5 into frame 2
    EXPECT_EQ(copy.source.w, 11);
    EXPECT_EQ(copy.destination.x, 32);
    EXPECT_EQ(copy.destination.w, 22);
    // 22 of the cell's pixels lie right of the area.
    copy = edgeCellCopy(kArea, {598, 256, 32, 32}, 2, {0, 0, 16, 16});
    EXPECT_EQ(copy.source.x, 32);
    EXPECT_EQ(copy.source.w, 5);
    EXPECT_EQ(copy.destination.x, 598);
    EXPECT_EQ(copy.destination.w, 10);
}

TEST_F(BoardDrawing, PreviewsSweepLineAndBars) {
    board.currentColour = 3;
    board.nextColour = 4;
    board.sweepLineX = 70;
    board.charge = 25;
    drawAt(0);
    // The current colour at 24 x 24 and the next at 16 x 16, each centred on
    // a special-cell plate, which shows 2 x 1024 - 576 - 256 pixels of itself.
    EXPECT_EQ(count(3, {100, 196, 24, 24}), 576);
    EXPECT_EQ(count(4, {136, 200, 16, 16}), 256);
    EXPECT_EQ(count(kSpecial, {96, 192, 64, 32}), 1216);
    EXPECT_EQ(count(kSpecial), 1216);
    // The sweep line: the outline of a 4-pixel strip at x 32 + 70 over the
    // board's height, two sides of 192 pixels and two ends of 2.
    const Rgb grey{150, 150, 150};
    EXPECT_EQ(canvas.count(grey, {102, 256, 4, 192}), 388);
    // The charge bar: 40 pixels of its 64 by 8 from x 160, in its cyan for 25.
    const Rgb cyan{0, 159, 159};
    EXPECT_EQ(canvas.count(cyan, {160, 204, 40, 8}), 320);
}

TEST_F(BoardDrawing, LivesBarIsSixteenPixelsALifeAndGoneOnceLost) {
    const Rgb red{255, 0, 0};
    for (auto [lives, width, pixels] : {std::tuple{4, 64, 512}, {1, 16, 128}, {0, 0, 0}, {-3, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << lives << " lives");
        board.lives = lives;
        drawAt(0);
        EXPECT_EQ(canvas.count(red, {32, 204, width, 8}), pixels);
        EXPECT_EQ(canvas.count(red), pixels);
    }
}

TEST(BoardModel, ChargeBarGrowsToFullAndRampsUpToCyan) {
    for (auto [charge, width, green] : {std::tuple{0, 0, 0}, {25, 40, 159}, {39, 62, 248}, {400, 64, 255}}) {
        SCOPED_TRACE(testing::Message() << "charge " << charge);
        EXPECT_EQ(chargeBarFor(charge).width, width);
        EXPECT_EQ(chargeBarFor(charge).green, green);
    }
}

TEST(BoardModel, CellAtUsesTheLatestDrawAndTruncates) {
    Board board(nullptr, 4);
    board.area = kArea;
    board.scrollOffset = 10;
    const int left = kArea.x - 10, top = kArea.y;
    // Division truncates toward zero: just left of or above the grid is still
    // column or row 0.
    for (auto [x, y, cell] : {std::tuple{left, top, CellRef{0, 0}}, {left + 671, top + 191, CellRef{20, 5}},
                              {left + 672, top, kNoCell}, {left, top + 192, kNoCell},
                              {left - 31, top - 31, CellRef{0, 0}}, {left - 32, top, kNoCell}}) {
        EXPECT_EQ(board.cellAt(x, y), cell) << "at (" << x << ", " << y << ")";
    }
}

}  // namespace
