// The timeline: each key's start angle as the game's playback reaches it, the
// workshop's own warnings with what they name, and key edits kept in the
// order the game plays keys and read back as made.
#include <gtest/gtest.h>

#include <fstream>

#include "clip_timeline.h"
#include "figure_document.h"
#include "support/canvas.h"

namespace {

using testsupport::TempDir;

const std::string kFigures = AMBER_FIGURES_DIR;

// A root and one child hanging from it, on limbs 40 x 20 pixels.
CompiledFigure twoBones(std::vector<Keyframe> idle, std::vector<Keyframe> attack) {
    CompiledFigure figure;
    figure.rig.limbCount = 2;
    figure.rig.bones.resize(2);
    figure.rig.bones[0].children = {1};
    figure.rig.bones[0].limbIndex = 0;
    figure.rig.bones[1].limbIndex = 1;
    figure.rig.bones[1].angle = 0.5f;
    figure.idle = std::move(idle);
    figure.attack = std::move(attack);
    return figure;
}

const std::vector<std::pair<int, int>> kLimbSizes = {{40, 20}, {40, 20}};
const std::vector<std::string> kNames = {"root", "arm"};

TEST(KeyStarts, FollowTheGamesPlayback) {
    const CompiledFigure figure = twoBones({{1, 0, 10, 1.5f}, {1, 10, 5, -2.0f}, {1, 20, 5, 0.0f}}, {});
    const std::vector<KeyStart> starts = keyStarts(figure.rig, figure.idle);
    ASSERT_EQ(starts.size(), 3u);
    // From the bone's rest angle; then from where the key before had got to:
    // the next key starts at frame 10, before the first makes its last step
    // there, so from 1.4 and not from its target 1.5.
    EXPECT_TRUE(starts[0].starts);
    EXPECT_FLOAT_EQ(starts[0].fromAngle, 0.5f);
    EXPECT_FLOAT_EQ(starts[0].sweep, 1.0f);
    EXPECT_FLOAT_EQ(starts[1].fromAngle, 1.4f);
    EXPECT_FLOAT_EQ(starts[1].sweep, -3.4f);
    EXPECT_FLOAT_EQ(starts[2].fromAngle, -2.0f);
}

TEST(KeyStarts, AKeyOutOfOrderNeverStarts) {
    // The game looks only at the next key in file order: the key at 12 holds
    // back the one at 6 until the clip loops at its end, frame 16.
    const CompiledFigure figure = twoBones({{1, 0, 4, 1.0f}, {1, 12, 4, 0.0f}, {1, 6, 10, 2.0f}}, {});
    const std::vector<KeyStart> starts = keyStarts(figure.rig, figure.idle);
    EXPECT_TRUE(starts[0].starts);
    EXPECT_TRUE(starts[1].starts);
    EXPECT_FALSE(starts[2].starts);
}

TEST(WorkshopWarnings, NameTheBoneOrKeyAndWhy) {
    CompiledFigure figure = twoBones({{1, 0, 30, 0.5f}, {1, 10, 5, 0.0f}}, {{1, 0, 4, -3.0f}});
    figure.rig.bones[1].pivotX = 40;  // one past the picture's right edge
    const std::vector<WorkshopWarning> warnings = workshopWarnings(figure, kLimbSizes, kNames);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0].text, "arm: pivot (40, 0) is outside its 40 x 20 picture");
    EXPECT_EQ(warnings[0].bone, 1);
    EXPECT_EQ(warnings[0].key, -1);
    EXPECT_EQ(warnings[1].text, "idle key 0 (arm): runs to frame 30, past the clip's end at frame 15, and is cut off");
    EXPECT_EQ(warnings[1].clip, "idle");
    EXPECT_EQ(warnings[1].key, 0);
    EXPECT_EQ(warnings[2].text, "attack key 0 (arm): turns -3.50 rad from 0.50, further than half a turn");
    EXPECT_EQ(warnings[2].clip, "attack");

    const CompiledFigure calm = twoBones({{1, 0, 10, 0.5f}}, {{1, 0, 4, 3.6f}});
    EXPECT_TRUE(workshopWarnings(calm, kLimbSizes, kNames).empty()) << "a sweep of 3.1 rad is under half a turn";
}

TEST(KeyEdits, KeepTheGamesOrderAndReadBackAsMade) {
    TempDir dir;
    std::filesystem::copy(kFigures + "/debugman", dir.path / "debugman", std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(kFigures + "/debugman.json", dir.path / "debugman.json");
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(dir.file("debugman.json"), error)) << error;
    // The idle: head 0..40, head 40..80. Moved past the second, the first
    // key becomes the second, as the game would play them.
    EXPECT_EQ(document.setKey("idle", 0, Keyframe{1, 50, 20, 0.1f}), 1);
    EXPECT_EQ(document.text["idle"][0]["start"], 40);
    EXPECT_EQ(document.text["idle"][1]["bone"], "head");
    EXPECT_EQ(document.text["idle"][1]["angle"].dump(), "0.1");
    EXPECT_EQ(document.addKey("idle", Keyframe{2, 45, 5, -1.0f}), 1);
    EXPECT_EQ(document.text["idle"][1]["bone"], "left upper arm");
    document.deleteKey("attack", 2);
    EXPECT_EQ(document.text["attack"].size(), 4u);
    ASSERT_EQ(document.refusal, "");
    EXPECT_EQ(document.undoStates.size(), 3u) << "an added key is one edit";

    ASSERT_TRUE(document.save(nullptr, error)) << error;
    FigureDocument reopened;
    ASSERT_TRUE(reopened.open(dir.file("debugman.json"), error)) << error;
    EXPECT_EQ(reopened.compiled.idleBytes, document.compiled.idleBytes);
    EXPECT_EQ(reopened.compiled.attackBytes, document.compiled.attackBytes);
    ASSERT_EQ(reopened.compiled.idle.size(), 3u);
    EXPECT_EQ(reopened.compiled.idle[2].startFrame, 50);
    EXPECT_EQ(reopened.compiled.idle[2].duration, 20);

    EXPECT_EQ(document.setKey("idle", 9, Keyframe{1, 0, 1, 0.0f}), -1);
    EXPECT_EQ(document.setKey("walk", 0, Keyframe{1, 0, 1, 0.0f}), -1);
}

}  // namespace
