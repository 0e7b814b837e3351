#include <gtest/gtest.h>

#include "game/game.h"
#include "media/text.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::frameColour;
using testsupport::Rgb;

const Rgb kBorder{60, 30, 0};  // the test border tile
const Rgb kGrey{100, 100, 100};

struct GameRendering : testing::Test {
    testsupport::TempDir dir;
    std::unique_ptr<Canvas> canvas;
    std::unique_ptr<Game> game;

    void start(int width, int height) {
        testsupport::writeTestResources(dir.path);
        testsupport::WorkingDirectory cwd(dir.path);
        // The old game's textures belong to the old canvas's renderer: they go first.
        game.reset();
        canvas = std::make_unique<Canvas>(width, height);
        game = std::make_unique<Game>(canvas->renderer, width, height);
        // The figures have tests of their own; here they would only hide tiles and glyphs.
        game->player.reset();
        game->background.reset();
    }
    void frame() {
        SDL_RenderClear(canvas->renderer);
        game->render(canvas->renderer);
    }
    bool tileAt(int x, int y) { return canvas->count(kBorder, SDL_Rect{x, y, 32, 32}) == 32 * 32; }
};

TEST_F(GameRendering, BoardAreaFollowsTheWindow) {
    EXPECT_EQ(boardAreaFor(640, 480, 6).x, 32);
    EXPECT_EQ(boardAreaFor(640, 480, 6).y, 256);
    EXPECT_EQ(boardAreaFor(640, 480, 6).w, 576);
    EXPECT_EQ(boardAreaFor(640, 480, 6).h, 192);
    EXPECT_EQ(boardAreaFor(800, 600, 6).y, 376);
    EXPECT_EQ(boardAreaFor(800, 600, 6).w, 736);
    start(640, 480);
    frame();
    EXPECT_EQ(game->board->area.x, 32);
    EXPECT_EQ(game->board->area.y, 256);
    EXPECT_EQ(game->board->area.w, 576);
}

TEST_F(GameRendering, BorderFramesTheBoardAt640x480) {
    start(640, 480);
    frame();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(tileAt(32 * i, 224)) << i;
        EXPECT_TRUE(tileAt(32 * i, 448)) << i;
    }
    for (int y = 256; y < 448; y += 32) {
        EXPECT_TRUE(tileAt(0, y)) << y;
        EXPECT_TRUE(tileAt(608, y)) << y;
    }
    // Exactly the frame: two full rows and two columns between them, nothing else.
    EXPECT_EQ(canvas->count(kBorder), 2 * 640 * 32 + 2 * 32 * 192);
    EXPECT_EQ(borderRunsFor(640, 6).lastAcross, 18);  // 19 + 19 + 7 + 8 = 53 tiles
}

TEST_F(GameRendering, BorderAtOtherWidths) {
    start(800, 600);
    frame();
    EXPECT_EQ(borderRunsFor(800, 6).lastAcross, 23);
    EXPECT_TRUE(tileAt(736, 344));
    EXPECT_TRUE(tileAt(768, 344));
    EXPECT_TRUE(tileAt(768, 568));
    EXPECT_EQ(canvas->count(kBorder), 2 * 800 * 32 + 2 * 32 * 192);

    // 650 wide: the runs across stop at x 608 + 32, the right run stands at 618.
    start(650, 480);
    frame();
    EXPECT_EQ(borderRunsFor(650, 6).lastAcross, 18);
    EXPECT_TRUE(tileAt(576, 224));
    EXPECT_TRUE(tileAt(618, 224));
    EXPECT_EQ(canvas->count(kBorder, SDL_Rect{608, 224, 10, 32}), 0);
    EXPECT_EQ(canvas->count(kBorder, SDL_Rect{608, 448, 10, 32}), 0);

    // Narrower than two tiles: no runs across, the side runs remain.
    start(50, 480);
    frame();
    EXPECT_LT(borderRunsFor(50, 6).lastAcross, 0);
    EXPECT_TRUE(tileAt(18, 224));  // the right run's top tile only
    EXPECT_EQ(canvas->count(kBorder, SDL_Rect{0, 224, 18, 32}), 0);
    EXPECT_TRUE(tileAt(0, 256));
}

TEST_F(GameRendering, HudTextAndGreyBackgroundFromTheSecondFrame) {
    start(640, 480);
    frame();
    // The test font's cells are 10 x 16, each stretched to 16 x 16.
    // " score: 0": blank, s, c, o, r, e, blank, blank, 0, then the line feed at x 144.
    EXPECT_EQ(canvas->pixel(16 + 8, 72), frameColour(glyphCell('s')));
    EXPECT_EQ(canvas->pixel(128 + 8, 72), frameColour(glyphCell('0')));
    EXPECT_EQ(canvas->pixel(144 + 8, 72), frameColour(kBlankCell));
    EXPECT_EQ(canvas->pixel(16 + 8, 88), frameColour(glyphCell('c')));
    EXPECT_EQ(canvas->pixel(144 + 8, 88), frameColour(glyphCell('0')));
    EXPECT_EQ(canvas->count(frameColour(glyphCell('s')), SDL_Rect{16, 64, 16, 16}), 256);

    game->board->score = 12;
    game->board->charge = 40;
    frame();
    EXPECT_EQ(canvas->pixel(128 + 8, 72), frameColour(glyphCell('1')));
    EXPECT_EQ(canvas->pixel(144 + 8, 72), frameColour(glyphCell('2')));
    EXPECT_EQ(canvas->pixel(160 + 8, 72), frameColour(kBlankCell));
    EXPECT_EQ(canvas->pixel(144 + 8, 88), frameColour(glyphCell('4')));
    EXPECT_EQ(canvas->pixel(160 + 8, 88), frameColour(glyphCell('0')));
    // The first frame drew over the renderer's initial colour; the second was cleared grey.
    EXPECT_EQ(canvas->pixel(400, 40), kGrey);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(canvas->renderer, &r, &g, &b, &a);
    EXPECT_EQ(Rgb({r, g, b}), kGrey);
}

}  // namespace
