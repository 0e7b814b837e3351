// Golden frames: the real game played headless by amber-capture from a fixed
// script, compared with the pictures kept in tests/golden/. A change to the
// rules, the drawing or the content shows up here; when it is meant, renew
// the pictures with tests/golden/renew.sh and look at them before committing.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <cstdlib>
#include <string>

namespace {

const std::string kGoldenDir = AMBER_GOLDEN_DIR;

// Share of pixels that differ by more than a small amount in any channel.
double differingShare(SDL_Surface* a, SDL_Surface* b) {
    long differing = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            const auto* pa = static_cast<const std::uint8_t*>(a->pixels) + y * a->pitch + x * 4;
            const auto* pb = static_cast<const std::uint8_t*>(b->pixels) + y * b->pitch + x * 4;
            for (int c = 0; c < 3; ++c) {
                if (std::abs(pa[c] - pb[c]) > 4) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return static_cast<double>(differing) / (a->w * a->h);
}

SDL_Surface* loadRgba(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    return converted;
}

TEST(GoldenFrames, StartBurstAndLostFramesLookAsKept) {
    ASSERT_EQ(std::system(("./amber-capture " + kGoldenDir + "/frames.capture").c_str()), 0);
    for (const char* name : {"golden-start.png", "golden-burst.png", "golden-lost.png"}) {
        SCOPED_TRACE(name);
        SDL_Surface* made = loadRgba(name);
        SDL_Surface* kept = loadRgba(kGoldenDir + "/" + name);
        ASSERT_NE(made, nullptr) << IMG_GetError();
        ASSERT_NE(kept, nullptr) << IMG_GetError();
        ASSERT_EQ(made->w, kept->w);
        ASSERT_EQ(made->h, kept->h);
        EXPECT_LT(differingShare(made, kept), 0.001);
        SDL_FreeSurface(made);
        SDL_FreeSurface(kept);
    }
}

}  // namespace
