#include <gtest/gtest.h>

#include "media/texture.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::Rgb;
using testsupport::TempDir;

TEST(TextureFrames, FrameWidthIgnoresTheRemainderColumns) {
    Canvas canvas(64, 64);
    TempDir dir;
    testsupport::writeSolidSheet(dir.file("seven.bmp"), 7, 32, 32);
    testsupport::writeSolidSheet(dir.file("seven-wide.bmp"), 7, 32, 32, 6);
    testsupport::writeSolidSheet(dir.file("font.bmp"), 37, 10, 16);

    Texture seven(dir.file("seven.bmp"), 7, canvas.renderer);
    EXPECT_EQ(seven.width, 224);
    EXPECT_EQ(seven.frameRect.w, 32);
    Texture wide(dir.file("seven-wide.bmp"), 7, canvas.renderer);
    EXPECT_EQ(wide.width, 230);
    EXPECT_EQ(wide.frameRect.w, 32);

    Texture font(dir.file("font.bmp"), 37, canvas.renderer);
    const SDL_Rect& cell = font.selectFrame(36);
    EXPECT_EQ(cell.x, 360);
    EXPECT_EQ(cell.y, 0);
    EXPECT_EQ(cell.w, 10);
    EXPECT_EQ(cell.h, 16);

    // Selecting moves only x.
    EXPECT_EQ(seven.selectFrame(6).x, 192);
    const SDL_Rect& back = seven.selectFrame(0);
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.w, 32);
    EXPECT_EQ(back.h, 32);

    // The rightmost frame of the wide sheet draws its own colour, never the spare columns.
    canvas.clear({1, 2, 3});
    SDL_Rect destination{0, 0, 32, 32};
    SDL_RenderCopy(canvas.renderer, wide.texture, &wide.selectFrame(6), &destination);
    EXPECT_EQ(canvas.count(testsupport::kFrameColours[6], destination), 32 * 32);
}

TEST(TextureColourKey, KeyColourIsTransparentAndBlackIsOpaque) {
    Canvas canvas(8, 4);
    TempDir dir;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_BGR24);
    SDL_Rect left{0, 0, 2, 4}, right{2, 0, 2, 4};
    SDL_FillRect(s, &left, SDL_MapRGB(s->format, 0, 0, 1));
    SDL_FillRect(s, &right, SDL_MapRGB(s->format, 0, 0, 0));
    ASSERT_EQ(SDL_SaveBMP(s, dir.file("key.bmp").c_str()), 0);
    SDL_FreeSurface(s);

    Texture texture(dir.file("key.bmp"), 1, canvas.renderer);
    canvas.clear({90, 90, 90});
    SDL_Rect destination{0, 0, 4, 4};
    SDL_RenderCopy(canvas.renderer, texture.texture, &texture.selectFrame(0), &destination);
    EXPECT_EQ(canvas.pixel(0, 0), (Rgb{90, 90, 90}));
    EXPECT_EQ(canvas.pixel(1, 3), (Rgb{90, 90, 90}));
    EXPECT_EQ(canvas.pixel(2, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(canvas.pixel(3, 3), (Rgb{0, 0, 0}));
}

TEST(TextureFailure, MissingOrBrokenFileWritesOneLineAndLeavesAnEmptySheet) {
    Canvas canvas(8, 8);
    TempDir dir;
    {
        FILE* f = std::fopen(dir.file("not-a-bmp.bmp").c_str(), "wb");
        std::fputs("this is not a picture", f);
        std::fclose(f);
    }
    for (const std::string& path : {dir.file("missing.bmp"), dir.file("not-a-bmp.bmp")}) {
        testing::internal::CaptureStdout();
        Texture texture(path, 7, canvas.renderer);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("Surface initialization error! : ", 0), 0u) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_EQ(texture.texture, nullptr);
        EXPECT_EQ(texture.width, 0);
        EXPECT_EQ(texture.height, 0);
        EXPECT_EQ(texture.frameRect.w, 0);
        // Drawing an empty sheet is harmless and shows nothing.
        canvas.clear({5, 5, 5});
        SDL_Rect destination{0, 0, 8, 8};
        SDL_RenderCopy(canvas.renderer, texture.texture, &texture.selectFrame(3), &destination);
        EXPECT_EQ(canvas.count({5, 5, 5}), 64);
    }

    // Without a renderer the sheet stays empty too, and says nothing more.
    testsupport::writeSolidSheet(dir.file("ok.bmp"), 1, 4, 4);
    testing::internal::CaptureStdout();
    Texture noRenderer(dir.file("ok.bmp"), 1, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(noRenderer.texture, nullptr);
    EXPECT_EQ(noRenderer.frameRect.w, 0);
}

}  // namespace
