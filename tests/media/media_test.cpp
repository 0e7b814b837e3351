// Sprite sheets as the game loads and cuts them, and bitmap-font text.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <tuple>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "media/text.h"
#include "media/texture.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

TEST(Texture, FramesSplitTheSheetEvenlySelectingMovesOnlyXAndTheKeyColourIsClear) {
    Canvas canvas(64, 64);
    TempDir dir;
    writeSolidSheet(dir.file("wide.bmp"), 7, 32, 32, 6);  // 6 spare columns at the right
    writeSolidSheet(dir.file("font.bmp"), 37, 10, 16);
    // A sheet whose left half is the key colour and right half the spare orange.
    const Rgb key{kColourKeyRed, kColourKeyGreen, kColourKeyBlue}, orange{255, 128, 0}, grey{90, 90, 90};
    writeSolidSheet(dir.file("key.bmp"), 1, 2, 4, 2, &key);
    Texture wide(dir.file("wide.bmp"), 7, canvas.renderer), font(dir.file("font.bmp"), 37, canvas.renderer);
    EXPECT_EQ(std::tuple(wide.width, wide.height, wide.frameRect.w), std::tuple(230, 32, 32));
    const SDL_Rect cell = font.selectFrame(36);  // a copy: selecting frame 0 moves x back
    EXPECT_EQ(std::tuple(cell.x, cell.y, cell.w, cell.h, font.selectFrame(0).x), std::tuple(360, 0, 10, 16, 0));
    // The rightmost frame draws its own colour, never the spare columns.
    SDL_RenderCopy(canvas.renderer, wide.texture, &wide.selectFrame(6), nullptr);
    EXPECT_EQ(canvas.count(kFrameColours[6]), 64 * 64);
    Texture keyed(dir.file("key.bmp"), 1, canvas.renderer);
    canvas.clear(grey);
    SDL_RenderCopy(canvas.renderer, keyed.texture, &keyed.selectFrame(0), nullptr);
    EXPECT_EQ(std::tuple(canvas.count(grey), canvas.count(orange)), std::tuple(32 * 64, 32 * 64));
#ifdef __GLIBC__
    // Loading keeps nothing but the texture: the sheet's pixels are let go.
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 40; ++i) Texture(dir.file("wide.bmp"), 7, canvas.renderer);
    EXPECT_LT(mallinfo2().uordblks, before + 65536);
#endif
}

TEST(Texture, MissingOrBrokenFileWritesOneLineAndLeavesAnEmptySheet) {
    Canvas canvas(8, 8);
    TempDir dir;
    std::ofstream(dir.file("not-a-bmp.bmp")) << "this is not a picture";
    writeSolidSheet(dir.file("ok.bmp"), 1, 4, 4);
    // Without a renderer a good sheet stays empty too, and says nothing.
    for (auto [name, message] : {std::pair{"missing.bmp", true}, {"not-a-bmp.bmp", true}, {"ok.bmp", false}}) {
        testing::internal::CaptureStdout();
        Texture sheet(dir.file(name), 7, message ? canvas.renderer : nullptr);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("Surface initialization error! : ", 0), message ? 0u : std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), message ? 1 : 0) << out;
        EXPECT_EQ(std::tuple(sheet.texture, sheet.width, sheet.height, sheet.frameRect.w),
                  std::tuple(nullptr, 0, 0, 0));
        // Drawing an empty sheet is harmless and shows nothing.
        canvas.clear({5, 5, 5});
        SDL_RenderCopy(canvas.renderer, sheet.texture, &sheet.selectFrame(3), nullptr);
        EXPECT_EQ(canvas.count({5, 5, 5}), 64) << name;
    }
}

TEST(Text, CountsInPlainDecimalAndBytesToFontCells) {
    for (auto [value, text] : {std::pair{0, "0"}, {40, "40"}, {100, "100"}, {INT32_MAX, "2147483647"}, {-1, ""},
                               {INT32_MIN, ""}})
        EXPECT_EQ(intToString(value), text);
    for (auto [c, cell] : {std::pair{'a', 0}, {'z', 25}, {'0', 26}, {'9', 35}}) EXPECT_EQ(glyphCell(c), cell) << c;
    // Neighbours of the ranges, capitals, and high bytes (negative as signed bytes) are blank.
    for (char c : std::string_view(" :AZ\n`{/\x80\xc8\xff")) EXPECT_EQ(glyphCell(c), kBlankCell) << int(c);
}

TEST(Text, HudLinesEndWithTheLineFeedAndTheNextStartsOneSizeLowerAtX) {
    std::vector<GlyphPlacement> glyphs;
    layoutText(" score: 12\n charge: 40", 16, 10, 64, [&](const GlyphPlacement& g) { glyphs.push_back(g); });
    ASSERT_EQ(glyphs.size(), 22u);
    auto at = [&](int i) { const auto& [cell, d] = glyphs[i]; return std::tuple(cell, d.x, d.y, d.w, d.h); };
    EXPECT_EQ(at(1), std::tuple(glyphCell('s'), 26, 64, 16, 16));
    EXPECT_EQ(at(10), std::tuple(kBlankCell, 170, 64, 16, 16));
    EXPECT_EQ(at(11), std::tuple(kBlankCell, 10, 80, 16, 16));
    EXPECT_EQ(at(21), std::tuple(glyphCell('0'), 170, 80, 16, 16));
}

}  // namespace
