// Sprite sheets as the game loads and cuts them, and bitmap-font text.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "media/text.h"
#include "media/texture.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

// The key colour is see-through in every golden frame.
TEST(Texture, FramesSplitTheSheetEvenly) {
    Canvas canvas(64, 64);
    TempDir dir;
    writeSolidSheet(dir.file("wide.bmp"), 7, 32, 32, 6);  // 6 spare columns at the right
    Texture wide(dir.file("wide.bmp"), 7, canvas.renderer);
    EXPECT_EQ(wide.width, 230);
    EXPECT_EQ(wide.selectFrame(6).x, 192);
    EXPECT_EQ(wide.frameRect.w, 32);  // the spare columns belong to no frame
#ifdef __GLIBC__
    // Loading keeps nothing but the texture (the sheet's pixels are let go),
    // and loading again after a reset lets the old texture go.
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 40; ++i) wide.reload(canvas.renderer);
    EXPECT_LT(mallinfo2().uordblks, before + 65536);
#endif
    wide.reload(nullptr);  // its renderer is going: the texture is let go
    EXPECT_EQ(wide.texture, nullptr);
}

TEST(Texture, MissingOrBrokenFileWritesOneLineAndLeavesAnEmptySheet) {
    Canvas canvas(1, 1);
    TempDir dir;
    std::ofstream(dir.file("not-a-bmp.bmp")) << "this is not a picture";
    writeSolidSheet(dir.file("ok.bmp"), 1, 4, 4);
    // Without a renderer a good sheet stays empty too, and says nothing. (A
    // missing sheet is read by the end-to-end test.)
    for (auto [name, lines] : {std::pair{"not-a-bmp.bmp", 1}, {"ok.bmp", 0}}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        Texture sheet(dir.file(name), 7, lines ? canvas.renderer : nullptr);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), lines) << out;
        EXPECT_EQ(out.rfind("Surface initialization error! : ", 0), lines ? 0u : std::string::npos) << out;
        EXPECT_EQ(sheet.texture, nullptr);
        EXPECT_EQ(sheet.width, 0);
        EXPECT_EQ(sheet.frameRect.w, 0);
    }
}

TEST(Text, NumbersInPlainDecimalAndOddBytesBlank) {
    for (auto [value, text] : {std::pair{0, "0"}, {INT32_MAX, "2147483647"}, {-1, ""},
                               {INT32_MIN, ""}})
        EXPECT_EQ(intToString(value), text) << "from " << value;
    // Neighbours of the ranges 'a' to 'z' and '0' to '9', capitals, and high
    // bytes (negative as signed bytes) are blank.
    for (char c : std::string_view(" :AZ\n`{/\x80\xc8\xff")) EXPECT_EQ(glyphCell(c), kBlankCell) << "byte " << int(c);
}

}  // namespace
