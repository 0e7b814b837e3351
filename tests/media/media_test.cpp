// Sprite sheets as the game loads and cuts them, and bitmap-font text.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <tuple>
#include <vector>

#include "media/text.h"
#include "media/texture.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::Rgb;

TEST(Texture, FramesSplitTheSheetEvenlySelectingMovesOnlyXAndTheKeyColourIsClear) {
    Canvas canvas(64, 64);
    testsupport::TempDir dir;
    testsupport::writeSolidSheet(dir.file("wide.bmp"), 7, 32, 32, 6);  // 6 spare columns at the right
    testsupport::writeSolidSheet(dir.file("font.bmp"), 37, 10, 16);
    Texture wide(dir.file("wide.bmp"), 7, canvas.renderer), font(dir.file("font.bmp"), 37, canvas.renderer);
    EXPECT_EQ(std::tuple(wide.width, wide.height, wide.frameRect.w), std::tuple(230, 32, 32));
    const SDL_Rect& cell = font.selectFrame(36);
    EXPECT_EQ(std::tuple(cell.x, cell.y, cell.w, cell.h), std::tuple(360, 0, 10, 16));
    EXPECT_EQ(font.selectFrame(0).x, 0);
    // The rightmost frame draws its own colour, never the spare columns.
    SDL_Rect destination{0, 0, 32, 32};
    SDL_RenderCopy(canvas.renderer, wide.texture, &wide.selectFrame(6), &destination);
    EXPECT_EQ(canvas.count(testsupport::kFrameColours[6], destination), 32 * 32);
    // A sheet whose left half is the key colour and right half black.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_BGR24);
    SDL_Rect left{0, 0, 2, 4};
    SDL_FillRect(s, &left, SDL_MapRGB(s->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue));
    ASSERT_EQ(SDL_SaveBMP(s, dir.file("key.bmp").c_str()), 0);
    SDL_FreeSurface(s);
    Texture keyed(dir.file("key.bmp"), 1, canvas.renderer);
    canvas.clear({90, 90, 90});
    destination = {0, 0, 4, 4};
    SDL_RenderCopy(canvas.renderer, keyed.texture, &keyed.selectFrame(0), &destination);
    EXPECT_EQ(std::tuple(canvas.pixel(0, 0), canvas.pixel(1, 3), canvas.pixel(2, 0), canvas.pixel(3, 3)),
              std::tuple(Rgb{90, 90, 90}, Rgb{90, 90, 90}, Rgb{0, 0, 0}, Rgb{0, 0, 0}));
}

TEST(Texture, MissingOrBrokenFileWritesOneLineAndLeavesAnEmptySheet) {
    Canvas canvas(8, 8);
    testsupport::TempDir dir;
    std::ofstream(dir.file("not-a-bmp.bmp")) << "this is not a picture";
    testsupport::writeSolidSheet(dir.file("ok.bmp"), 1, 4, 4);
    // Without a renderer a good sheet stays empty too, and says nothing.
    for (auto [path, message] : {std::pair{dir.file("missing.bmp"), true}, {dir.file("not-a-bmp.bmp"), true},
                                 {dir.file("ok.bmp"), false}}) {
        testing::internal::CaptureStdout();
        Texture texture(path, 7, message ? canvas.renderer : nullptr);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("Surface initialization error! : ", 0), message ? 0u : std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), message ? 1 : 0) << out;
        EXPECT_EQ(std::tuple(texture.texture, texture.width, texture.height, texture.frameRect.w),
                  std::tuple(nullptr, 0, 0, 0));
        // Drawing an empty sheet is harmless and shows nothing.
        canvas.clear({5, 5, 5});
        SDL_RenderCopy(canvas.renderer, texture.texture, &texture.selectFrame(3), nullptr);
        EXPECT_EQ(canvas.count({5, 5, 5}), 64) << path;
    }
}

TEST(Text, CountsInPlainDecimalAndBytesToFontCells) {
    for (auto [value, text] : {std::pair{0, "0"}, {40, "40"}, {100, "100"}, {INT32_MAX, "2147483647"}, {-1, ""},
                               {INT32_MIN, ""}})
        EXPECT_EQ(intToString(value), text);
    EXPECT_EQ(std::vector({glyphCell('a'), glyphCell('z'), glyphCell('0'), glyphCell('9')}),
              std::vector({0, 25, 26, 35}));
    // Neighbours of the ranges, capitals, and high bytes (negative as signed bytes) are blank.
    for (char c : std::string_view(" :AZ\n`{/\x80\xc8\xff")) EXPECT_EQ(glyphCell(c), kBlankCell) << int(c);
}

TEST(Text, HudLinesEndWithTheLineFeedAndTheNextStartsOneSizeLowerAtX) {
    std::vector<GlyphPlacement> glyphs;
    layoutText(" score: 12\n charge: 40", 16, 10, 64, [&](const GlyphPlacement& g) { glyphs.push_back(g); });
    ASSERT_EQ(glyphs.size(), 22u);
    auto at = [&](int i) {
        const SDL_Rect& d = glyphs[i].destination;
        return std::tuple(glyphs[i].cell, d.x, d.y, d.w, d.h);
    };
    EXPECT_EQ(at(1), std::tuple(glyphCell('s'), 26, 64, 16, 16));
    EXPECT_EQ(at(10), std::tuple(kBlankCell, 170, 64, 16, 16));
    EXPECT_EQ(at(11), std::tuple(kBlankCell, 10, 80, 16, 16));
    EXPECT_EQ(at(21), std::tuple(glyphCell('0'), 170, 80, 16, 16));
}

}  // namespace
