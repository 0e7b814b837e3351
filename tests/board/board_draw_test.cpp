#include <gtest/gtest.h>

#include "board/board.h"
#include "media/texture.h"
#include "support/canvas.h"

namespace {

using testsupport::kFrameColours;
using testsupport::Rgb;

constexpr SDL_Rect kArea{32, 256, 576, 192};  // the board at 640 x 480
const Rgb kBlack{0, 0, 0};
const Rgb kLivesRed{255, 0, 0};

struct BoardDrawing : testing::Test {
    testsupport::Canvas canvas{640, 480};
    testsupport::TempDir dir;
    std::unique_ptr<Texture> sheet;
    Board board{nullptr, 4};

    void SetUp() override {
        testsupport::writeSolidSheet(dir.file("sheet.bmp"), 7, 32, 32);
        sheet = std::make_unique<Texture>(dir.file("sheet.bmp"), 7, canvas.renderer);
        board.currentColour = board.nextColour = 0;  // colours the tests do not place
    }
    void drawAt(std::int32_t frameCounter) {
        board.frameCounter = frameCounter;
        canvas.clear(kBlack);
        board.draw(canvas.renderer, *sheet, kArea);
    }
    int count(int colour, SDL_Rect r = {0, 0, 640, 480}) { return canvas.count(kFrameColours[colour], r); }
};

// Columns 0, 17, 18, 19 and 20 in rows 1 and 0; only the parts inside the
// area show, trimmed from their source, with no clip rectangle set.
TEST_F(BoardDrawing, EdgeColumnsAreTrimmedToTheArea) {
    board.cells[0][1] = 2;
    for (int col = 17; col < kColumnCount; ++col) board.cells[col][0] = std::uint8_t(col - 16);
    drawAt(0);
    // Column 18 starts at the right edge: nothing of it shows.
    EXPECT_EQ(std::tuple(count(2), count(1), count(3) + count(4)), std::tuple(32 * 32, 32 * 32, 0));
    drawAt(25);  // offset 10
    EXPECT_EQ(count(2, SDL_Rect{32, 288, 22, 32}), 22 * 32);  // column 0 from x 32
    EXPECT_EQ(count(2, SDL_Rect{598, 256, 10, 32}), 10 * 32);  // column 18's left 10 pixels
    EXPECT_EQ(std::tuple(count(2), count(3) + count(4)), std::tuple(32 * 32, 0));

    EdgeCellCopy copy = edgeCellCopy(kArea, SDL_Rect{22, 288, 32, 32}, 2, SDL_Rect{0, 0, 32, 32});
    auto fields = [&] { return std::tuple(copy.source.x, copy.source.w, copy.destination.x, copy.destination.w); };
    EXPECT_EQ(fields(), std::tuple(74, 22, 32, 22));
    // A sheet with 16-pixel frames is sampled at half the rate, on both edges.
    copy = edgeCellCopy(kArea, SDL_Rect{22, 288, 32, 32}, 2, SDL_Rect{0, 0, 16, 16});
    EXPECT_EQ(std::pair(copy.source.x, copy.source.w), std::pair(37, 11));
    copy = edgeCellCopy(kArea, SDL_Rect{598, 256, 32, 32}, 2, SDL_Rect{0, 0, 16, 16});
    EXPECT_EQ(fields(), std::tuple(32, 5, 598, 10));
}

TEST_F(BoardDrawing, PiecesAreDrawnWholeAndUnclipped) {
    Piece piece(5, sheet.get(), {}, 600, 300, 4, 0, 32, 32);  // reaches past the right edge
    Piece fragment(3, sheet.get(), {}, 300, 150, 0, 0, 8, 8);  // above the area
    board.pieces = {&piece, &fragment};
    drawAt(0);
    board.pieces.clear();
    EXPECT_EQ(count(5, SDL_Rect{600, 300, 32, 32}), 32 * 32);
    EXPECT_EQ(count(3, SDL_Rect{300, 150, 8, 8}), 64);
}

TEST_F(BoardDrawing, PreviewsSweepLineAndLivesBar) {
    board.currentColour = 3;
    board.nextColour = 4;
    board.sweepLineX = 70;
    drawAt(0);
    // Large current colour and small next colour, each centred on a special-cell plate.
    EXPECT_EQ(std::pair(count(3), count(3, SDL_Rect{100, 196, 24, 24})), std::pair(24 * 24, 24 * 24));
    EXPECT_EQ(std::pair(count(4), count(4, SDL_Rect{136, 200, 16, 16})), std::pair(16 * 16, 16 * 16));
    EXPECT_EQ(count(kSpecial), 2 * 32 * 32 - 24 * 24 - 16 * 16);
    EXPECT_EQ(count(kSpecial, SDL_Rect{96, 192, 64, 32}), 2 * 32 * 32 - 24 * 24 - 16 * 16);
    // Sweep line: the outline of a 4-pixel strip over the board's height.
    const Rgb grey{150, 150, 150};
    EXPECT_EQ(canvas.count(grey), 2 * 192 + 2 * 2);
    EXPECT_EQ(canvas.count(grey, SDL_Rect{102, 256, 4, 192}), 2 * 192 + 2 * 2);
    // Sixteen pixels a life from x 32, y 204..211; none once the game is lost.
    for (int lives : {4, 1, 0, -3}) {
        board.lives = lives;
        drawAt(0);
        EXPECT_EQ(canvas.count(kLivesRed), 16 * 8 * std::max(lives, 0)) << lives;
        EXPECT_EQ(canvas.count(kLivesRed, SDL_Rect{32, 204, 16 * lives, 8}), 16 * 8 * std::max(lives, 0)) << lives;
    }
}

TEST_F(BoardDrawing, ChargeBarWidthAndCyanRampLeaveTheDrawColour) {
    for (auto [charge, width, green] : {std::tuple{0, 0, 0}, {25, 40, 159}, {39, 62, 248}, {40, 64, 255},
                                        {41, 64, 255}, {400, 64, 255}}) {
        board.charge = charge;
        drawAt(0);
        const Rgb cyan{0, std::uint8_t(green), std::uint8_t(green)};
        EXPECT_EQ(canvas.count(cyan, SDL_Rect{160, 204, width, 8}), charge ? width * 8 : 0) << charge;
        if (charge) {
            EXPECT_EQ(canvas.count(cyan), width * 8) << charge;  // at 0 it is the black background
        }
        Uint8 r, g, b, a;
        SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
        EXPECT_EQ(std::tuple(r, g, b, a), std::tuple(0, green, green, 255)) << charge;
    }
}

TEST(BoardModel, CellAtUsesTheLatestDrawAndTruncates) {
    Board board(nullptr, 4);
    board.area = kArea;
    board.scrollOffset = 10;
    const int left = kArea.x - 10, top = kArea.y;
    // Division truncates toward zero: just left of or above the grid is still column or row 0.
    for (auto [x, y, cell] : {std::tuple{left, top, CellRef{0, 0}}, {left + 671, top + 191, CellRef{20, 5}},
                              {left + 672, top, kNoCell}, {left, top + 192, kNoCell},
                              {left - 31, top - 31, CellRef{0, 0}}, {left - 32, top, kNoCell}}) {
        EXPECT_EQ(board.cellAt(x, y), cell) << x << "," << y;
    }
}

}  // namespace
