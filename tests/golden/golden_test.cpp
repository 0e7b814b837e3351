// Golden frames: the real game played headless by amber-capture from a fixed
// script, compared with the pictures kept in tests/golden/. A change to the
// rules, the drawing or the content shows up here; when it is meant, renew
// the pictures with tests/golden/renew.sh and look at them before committing.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <cstdlib>
#include <string>

#include "support/canvas.h"

namespace {

using namespace testsupport;

// The picture at path as 8-bit RGBA, four bytes a pixel with no padding; null
// when it cannot be read.
SDL_Surface* loadRgba(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    SDL_Surface* rgba = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    SDL_FreeSurface(loaded);
    return rgba;
}

TEST(GoldenFrames, StartBurstAndLostFramesLookAsKept) {
    // amber-capture plays like the game, from the resources/ of its working
    // directory, and writes its pictures there.
    WorkingDirectory cwd(AMBER_BUILD_DIR);
    ASSERT_EQ(run(AMBER_CAPTURE, AMBER_GOLDEN_DIR "/frames.capture"), 0);
    for (const std::string name : {"golden-start.png", "golden-burst.png", "golden-lost.png"}) {
        SCOPED_TRACE(name);
        SDL_Surface* made = loadRgba(name);
        SDL_Surface* kept = loadRgba(AMBER_GOLDEN_DIR "/" + name);
        ASSERT_NE(made, nullptr) << IMG_GetError();
        ASSERT_NE(kept, nullptr) << IMG_GetError();
        ASSERT_EQ(made->w, kept->w);
        ASSERT_EQ(made->h, kept->h);
        // Pixels that differ by more than a little in any colour channel.
        const auto* a = static_cast<const std::uint8_t*>(made->pixels);
        const auto* b = static_cast<const std::uint8_t*>(kept->pixels);
        int differing = 0;
        for (int i = 0; i < made->w * made->h * 4; i += 4)
            differing += std::abs(a[i] - b[i]) > 4 || std::abs(a[i + 1] - b[i + 1]) > 4 || std::abs(a[i + 2] - b[i + 2]) > 4;
        EXPECT_LT(differing, made->w * made->h / 1000) << "pixels that differ";
        SDL_FreeSurface(made);
        SDL_FreeSurface(kept);
    }
}

}  // namespace
