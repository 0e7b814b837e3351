// Golden frames: the real game played headless by amber-capture from a fixed
// script, compared with the pictures kept in tests/golden/. A change to the
// rules, the drawing or the content shows up here; when it is meant, renew
// the pictures with tests/golden/renew.sh and look at them before committing.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>

TEST(GoldenFrames, StartBurstAndLostFramesLookAsKept) {
    ASSERT_EQ(std::system("./amber-capture " AMBER_GOLDEN_DIR "/frames.capture"), 0);
    for (const std::string name : {"golden-start.png", "golden-burst.png", "golden-lost.png"}) {
        SCOPED_TRACE(name);
        SDL_Surface* pictures[2] = {IMG_Load(name.c_str()), IMG_Load((AMBER_GOLDEN_DIR "/" + name).c_str())};
        for (SDL_Surface*& p : pictures) {
            ASSERT_NE(p, nullptr) << IMG_GetError();
            SDL_FreeSurface(std::exchange(p, SDL_ConvertSurfaceFormat(p, SDL_PIXELFORMAT_RGBA32, 0)));
        }
        const SDL_Surface &made = *pictures[0], &kept = *pictures[1];
        ASSERT_EQ(std::tuple(made.w, made.h), std::tuple(kept.w, kept.h));
        // Pixels that differ by more than a little in any colour channel.
        int differing = 0;
        for (int y = 0; y < made.h; ++y)
            for (int x = 0; x < made.w; ++x) {
                const auto* a = static_cast<const std::uint8_t*>(made.pixels) + y * made.pitch + x * 4;
                const auto* b = static_cast<const std::uint8_t*>(kept.pixels) + y * kept.pitch + x * 4;
                differing += std::abs(a[0] - b[0]) > 4 || std::abs(a[1] - b[1]) > 4 || std::abs(a[2] - b[2]) > 4;
            }
        EXPECT_LT(differing, made.w * made.h / 1000);
        for (SDL_Surface* p : pictures) SDL_FreeSurface(p);
    }
}
