#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "media/text.h"

namespace {

std::vector<GlyphPlacement> layout(std::string_view text, int size, int x, int y) {
    std::vector<GlyphPlacement> glyphs;
    layoutText(text, size, x, y, [&](const GlyphPlacement& g) { glyphs.push_back(g); });
    return glyphs;
}

void expectGlyph(const GlyphPlacement& g, int cell, int x, int y, int size) {
    EXPECT_EQ(g.cell, cell);
    EXPECT_EQ(g.destination.x, x);
    EXPECT_EQ(g.destination.y, y);
    EXPECT_EQ(g.destination.w, size);
    EXPECT_EQ(g.destination.h, size);
}

TEST(IntToString, PlainDecimalForCountsAndNothingForNegatives) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(40), "40");
    EXPECT_EQ(intToString(100), "100");
    EXPECT_EQ(intToString(INT32_MAX), "2147483647");
    EXPECT_EQ(intToString(-1), "");
    EXPECT_EQ(intToString(INT32_MIN), "");
}

TEST(GlyphCells, LettersDigitsAndEverythingElse) {
    EXPECT_EQ(glyphCell('a'), 0);
    EXPECT_EQ(glyphCell('z'), 25);
    EXPECT_EQ(glyphCell('0'), 26);
    EXPECT_EQ(glyphCell('9'), 35);
    for (char c : {' ', ':', 'A', 'Z', '\n', '`', '{', '/'}) EXPECT_EQ(glyphCell(c), kBlankCell) << int(c);
    // High bytes compare as negative signed bytes and fall to the blank cell.
    for (int b = 128; b < 256; ++b) EXPECT_EQ(glyphCell(static_cast<char>(b)), kBlankCell) << b;
}

TEST(TextLayout, LineFeedIsDrawnAtTheEndOfItsLine) {
    auto glyphs = layout("a\nb", 8, 10, 20);
    ASSERT_EQ(glyphs.size(), 3u);
    expectGlyph(glyphs[0], 0, 10, 20, 8);
    expectGlyph(glyphs[1], kBlankCell, 18, 20, 8);
    expectGlyph(glyphs[2], 1, 10, 28, 8);

    glyphs = layout("ab", 16, 0, 64);
    ASSERT_EQ(glyphs.size(), 2u);
    expectGlyph(glyphs[0], 0, 0, 64, 16);
    expectGlyph(glyphs[1], 1, 16, 64, 16);

    EXPECT_TRUE(layout("", 16, 0, 0).empty());
}

TEST(TextLayout, HudLinesForScoreAndCharge) {
    // " score: 12\n charge: 40": the line feed closes the first line at x 160.
    auto glyphs = layout(" score: 12\n charge: 40", 16, 0, 64);
    ASSERT_EQ(glyphs.size(), 22u);
    expectGlyph(glyphs[10], kBlankCell, 160, 64, 16);
    expectGlyph(glyphs[11], kBlankCell, 0, 80, 16);
    expectGlyph(glyphs[20], glyphCell('4'), 144, 80, 16);
    expectGlyph(glyphs[21], glyphCell('0'), 160, 80, 16);
    glyphs = layout(" score: 0\n charge: 0", 16, 0, 64);
    ASSERT_EQ(glyphs.size(), 20u);
    expectGlyph(glyphs[8], glyphCell('0'), 128, 64, 16);
    expectGlyph(glyphs[9], kBlankCell, 144, 64, 16);
    expectGlyph(glyphs[19], glyphCell('0'), 144, 80, 16);
}

}  // namespace
