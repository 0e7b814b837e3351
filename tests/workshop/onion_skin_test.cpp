// Onion skin: the ghosts of the frames before and after show faint behind the
// figure, never over it, and leave the stage's frame as the game draws it.
#include <gtest/gtest.h>

#include "figure_document.h"
#include "onion_skin.h"
#include "stage.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::TempDir;

std::uint32_t colourAt(const Canvas& canvas, int i) {
    return static_cast<const std::uint32_t*>(canvas.surface->pixels)[i] & 0xffffff;
}

struct OnionStage {
    TempDir built;
    Canvas plain{640, 480}, onion{640, 480};
    Stage plainStage, onionStage;

    explicit OnionStage(const char* figure) {
        FigureDocument document;
        std::string error;
        EXPECT_TRUE(document.open(std::string(AMBER_FIGURES_DIR) + "/" + figure + ".json", error)) << error;
        EXPECT_TRUE(document.writeGameFiles(built.path, error)) << error;
        EXPECT_TRUE(plainStage.load(plain.renderer, built.path.string(), kPlayerPlace, error)) << error;
        EXPECT_TRUE(onionStage.load(onion.renderer, built.path.string(), kPlayerPlace, error)) << error;
    }
};

TEST(OnionSkin, GhostsShowBehindTheFigureAndNeverOverIt) {
    OnionStage stages("wendle");
    ASSERT_TRUE(stages.onionStage.figure);
    // The attack swings the near arm wide: frames 8 and 16 are far from 12.
    stages.plainStage.poseFrame(StageClip::attack, 12);
    stages.onionStage.poseFrame(StageClip::attack, 12);
    stages.plainStage.draw(stages.plain.renderer);
    OnionSkin onion;
    ASSERT_TRUE(onion.draw(stages.onion.renderer, stages.onionStage, 640, 480)) << SDL_GetError();

    const std::uint32_t grey = kBackgroundGrey * 0x010101u;
    int figurePixels = 0, changedFigurePixels = 0, ghostPixels = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        const bool figure = colourAt(stages.plain, i) != grey;
        figurePixels += figure;
        changedFigurePixels += figure && colourAt(stages.onion, i) != colourAt(stages.plain, i);
        ghostPixels += !figure && colourAt(stages.onion, i) != grey;
    }
    EXPECT_GT(figurePixels, 2000);
    EXPECT_EQ(changedFigurePixels, 0);
    EXPECT_GT(ghostPixels, 1000);
    // Drawing the ghosts moved the stage to no other frame.
    EXPECT_EQ(stages.onionStage.frame, 12);
    EXPECT_EQ(stages.onionStage.clip, StageClip::attack);
    onion.release();
}

TEST(OnionSkin, GhostFramesStayInsideTheClip) {
    OnionStage stages("debugman");
    ASSERT_TRUE(stages.onionStage.figure);
    Stage& stage = stages.onionStage;
    OnionSkin onion;
    onion.spacing = 5;
    struct Case {
        const char* label;
        StageClip clip;
        std::int32_t frame, before, after;
    };
    // debugman: idle 80 frames, attack 28.
    const Case cases[] = {
        {"the first frame has no frame before", StageClip::idle, 0, -1, 5},
        {"near the start, the first frame", StageClip::idle, 3, 0, 8},
        {"the attack's last frame has none after", StageClip::attack, 27, 22, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        stage.poseFrame(c.clip, c.frame);
        EXPECT_EQ(onion.beforeFrame(stage), c.before);
        EXPECT_EQ(onion.afterFrame(stage), c.after);
    }
}

}  // namespace
