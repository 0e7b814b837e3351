// The border of tiles drawn on a software canvas from a test sheet at window
// widths the golden frames do not show.
#include <gtest/gtest.h>

#include "game/game.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

struct GameRendering : testing::Test {
    TempDir dir;
    std::unique_ptr<Canvas> canvas;
    std::unique_ptr<Game> game;

    void SetUp() override { writeTestResources(dir.path); }
    // Draws a frame, on a new game and canvas when the size changes.
    void frame(int width, int height) {
        if (!canvas || canvas->surface->w != width) {
            WorkingDirectory cwd(dir.path);
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
};

TEST_F(GameRendering, BorderFramesTheBoardAtEveryWidth) {
    const struct {
        int width, height;
        int pixels;  // of the border's colour
        std::vector<SDL_Point> tiles;  // top-left corners of some tiles
    } cases[] = {
        {800, 600, 63488, {{768, 344}, {768, 568}}},
        // The right column stands 10 pixels past the last tile across.
        {650, 480, 53248, {{576, 224}, {618, 224}, {618, 448}}},
        // Narrower than two tiles: no rows across; the columns overlap.
        {50, 480, 12224, {{18, 224}, {0, 256}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " pixels wide");
        frame(c.width, c.height);
        EXPECT_EQ(canvas->count(kTestBorder), c.pixels);
        for (SDL_Point p : c.tiles) {
            EXPECT_EQ(canvas->count(kTestBorder, {p.x, p.y, 32, 32}), 1024) << "tile at " << p.x << ", " << p.y;
        }
    }
}

}  // namespace
