#include <gtest/gtest.h>

#include "game/game.h"
#include "media/text.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::frameColour;
using testsupport::Rgb;

const Rgb kBorder = testsupport::kTestBorder;
const Rgb kGrey{100, 100, 100};

struct GameRendering : testing::Test {
    testsupport::TempDir dir;
    std::unique_ptr<Canvas> canvas;
    std::unique_ptr<Game> game;

    void frame(int width, int height) {
        if (!canvas || canvas->surface->w != width) {
            testsupport::writeTestResources(dir.path);
            testsupport::WorkingDirectory cwd(dir.path);
            game.reset();  // its textures belong to the old canvas's renderer
            canvas = std::make_unique<Canvas>(width, height);
            game = std::make_unique<Game>(canvas->renderer, width, height);
            // The figures have tests of their own; here they would only hide tiles and glyphs.
            game->player.reset();
            game->background.reset();
        }
        SDL_RenderClear(canvas->renderer);
        game->render(canvas->renderer);
    }
    bool tileAt(int x, int y) { return canvas->count(kBorder, SDL_Rect{x, y, 32, 32}) == 32 * 32; }
    Rgb glyphAt(int column, int line) { return canvas->pixel(16 * column + 8, 72 + 16 * line); }
};

// The frame of tiles: rows above and below the board from x 0 to the last
// tile across, a column each side; nothing else.
TEST_F(GameRendering, BorderFramesTheBoardAtEveryWidth) {
    const struct {
        int width, lastAcross, rightX, pixels;
        std::vector<SDL_Point> tiles;
    } cases[] = {
        {640, 18, 608, 52 * 1024, {{0, 224}, {608, 224}, {0, 448}, {608, 448}, {0, 256}, {0, 416}, {608, 416}}},
        {800, 23, 768, 62 * 1024, {{736, 344}, {768, 344}, {768, 568}}},
        // The right column stands past the last tile across.
        {650, 18, 618, 52 * 1024, {{576, 224}, {618, 224}, {618, 448}}},
        {50, -1, 18, 12224, {{18, 224}, {0, 256}}},                    // narrower than two tiles: no rows across
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(borderRunsFor(c.width, 6).lastAcross, c.lastAcross);
        frame(c.width, c.width == 800 ? 600 : 480);
        for (SDL_Point p : c.tiles) EXPECT_TRUE(tileAt(p.x, p.y)) << p.x << "," << p.y;
        const int across = c.lastAcross >= 0 ? (c.lastAcross + 2) * 32 : 0, top = c.width == 800 ? 344 : 224;
        EXPECT_EQ(canvas->count(kBorder), c.pixels);
        EXPECT_EQ(canvas->count(kBorder, SDL_Rect{across, top, c.rightX - across, 32}), 0);
    }
}

TEST_F(GameRendering, HudTextAndGreyBackgroundFromTheSecondFrame) {
    // The test font's cells are 10 x 16, each stretched to 16 x 16.
    // " score: 0\n charge: 0": blank, s, c, o, r, e, :, blank, 0, then the line feed.
    frame(640, 480);
    for (auto [column, line, c] : {std::tuple{1, 0, 's'}, {8, 0, '0'}, {1, 1, 'c'}, {9, 1, '0'}}) {
        EXPECT_EQ(glyphAt(column, line), frameColour(glyphCell(c))) << column << "," << line;
    }
    EXPECT_EQ(glyphAt(9, 0), frameColour(kBlankCell));
    EXPECT_EQ(canvas->count(frameColour(glyphCell('s')), SDL_Rect{16, 64, 16, 16}), 256);
    EXPECT_NE(canvas->pixel(400, 40), kGrey);  // the first frame drew over the renderer's initial colour

    game->board->score = 12;
    game->board->charge = 40;
    frame(640, 480);
    for (auto [column, line, c] : {std::tuple{8, 0, '1'}, {9, 0, '2'}, {9, 1, '4'}, {10, 1, '0'}}) {
        EXPECT_EQ(glyphAt(column, line), frameColour(glyphCell(c))) << column << "," << line;
    }
    EXPECT_EQ(glyphAt(10, 0), frameColour(kBlankCell));
    EXPECT_EQ(canvas->pixel(400, 40), kGrey);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(canvas->renderer, &r, &g, &b, &a);
    EXPECT_EQ(Rgb({r, g, b}), kGrey);
}

}  // namespace
