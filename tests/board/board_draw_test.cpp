// The board drawn on a software canvas at the 640 x 480 layout, from a sheet
// of solid frames, so that a pixel's colour tells which frame was drawn
// there. The golden frames show the board as the game does, but let a few
// pixels differ; these pin the edges and sizes that a few pixels would hide.
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
    void draw() {
        SDL_RenderClear(canvas.renderer);  // black
        board.draw(canvas.renderer, *sheet, kArea);
    }
};

// A cell crossing an edge of the area is copied in part, from the matching
// part of its frame; here a sheet of 16-pixel frames, sampled at half the rate.
// (The right edge, at the shipped sheets' rate, is in every golden frame.)
TEST(BoardModel, EdgeCellCopyTakesOnlyThePartInsideTheArea) {
    // 10 of the cell's 32 pixels lie left of the area: 5 of the frame's 16.
    EdgeCellCopy copy = edgeCellCopy(kArea, {22, 288, 32, 32}, 2, {0, 0, 16, 16});
    EXPECT_EQ(copy.source.x, 37);  // 5 into frame 2
    EXPECT_EQ(copy.source.w, 11);
    EXPECT_EQ(copy.destination.x, 32);
    EXPECT_EQ(copy.destination.w, 22);
}

// A lone cell exactly on the left edge is drawn whole and alone. Then a full
// grid scrolled 10 pixels left: 22 pixels of column 0, columns 1 to 17 whole
// and 10 pixels of column 18 cover the area edge to edge, and nothing lies
// outside it.
TEST_F(BoardDrawing, CellsCoverTheAreaExactly) {
    board.cells[0][0] = 3;
    draw();
    EXPECT_EQ(canvas.count({0, 0, 0}, kArea), 109180);  // 576 x 192, less the cell and the sweep line's 388 pixels
    EXPECT_EQ(canvas.count({150, 150, 150}, {96, 256, 4, 192}), 388);  // the sweep line's outline, 64 pixels in
    for (auto* column : board.cells) std::fill_n(column, kRowCount, 3);
    board.frameCounter = 25;  // of the 80 updates that a column's shift takes: 10 pixels
    draw();
    EXPECT_EQ(canvas.count(frameColour(3)), 110204);  // 576 x 192, less the sweep line's 388 pixels
}

// The current colour, 24 pixels across, and the next one, 16, each on a
// 32-pixel special-cell plate above the board's left end.
TEST_F(BoardDrawing, PreviewsSitOnTheirPlates) {
    board.currentColour = 1;
    board.nextColour = 2;
    draw();
    EXPECT_EQ(canvas.count(frameColour(1), {100, 196, 24, 24}), 576);
    EXPECT_EQ(canvas.count(frameColour(2), {136, 200, 16, 16}), 256);
    // Two plates of 1024, less the previews: a preview too large shows here.
    EXPECT_EQ(canvas.count(frameColour(kSpecial)), 1216);
}

TEST_F(BoardDrawing, LivesBarIsSixteenPixelsALifeAndGoneOnceLost) {
    const Rgb red{255, 0, 0};
    for (auto [lives, width, pixels] : {std::tuple{1, 16, 128}, {-3, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << lives << " lives");
        board.lives = lives;
        draw();
        EXPECT_EQ(canvas.count(red, {32, 204, width, 8}), pixels);
        EXPECT_EQ(canvas.count(red), pixels);
    }
}

TEST(BoardModel, ChargeBarGrowsToFullAndRampsUpToCyan) {
    for (auto [charge, width, green] : {std::tuple{39, 62, 248}, {400, 64, 255}}) {
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
    // Inside the grid and past its right and bottom ends the pieces' steps ask
    // it all the time (the replay digest).
    for (auto [x, y, cell] : {std::tuple{left - 31, top - 31, CellRef{0, 0}}, {left - 32, top, kNoCell}}) {
        EXPECT_EQ(board.cellAt(x, y), cell) << "at (" << x << ", " << y << ")";
    }
}

}  // namespace
