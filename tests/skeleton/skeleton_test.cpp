// The figures: rig and clip files byte for byte and every refusal, posing,
// clip playback, and a whole character's attack. The shipped figures, built
// by the rig tool, are loaded and drawn in every golden frame.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>

#include "skeleton/character.h"
#include "skeleton/clip_file.h"
#include "skeleton/pose.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

using Bytes = std::vector<std::uint8_t>;

// A rig from its file: encoded, read back with stray bytes after it (which
// the loaders ignore), checked, encoded again to the same bytes, then built.
Rig build(const RigFile& file) {
    const Bytes bytes = encodeRig(file);
    Bytes stray = bytes;
    stray.insert(stray.end(), {1, 2, 3, 4, 5, 6, 7});
    RigFile back;
    std::string error;
    EXPECT_TRUE(parseRig(stray, "body", back, error)) << error;
    EXPECT_TRUE(checkRig(back, "body", error)) << error;
    EXPECT_EQ(encodeRig(back), bytes);
    Rig rig;
    rig.build(back);
    return rig;
}

TEST(Pose, TurnsInSinglePrecision) {
    // A quarter turn puts the child at (100, 106); 99 across if the first
    // sum were kept in double.
    Rig rig = build({.bones = {{.angle = 1.5707964f, .pivotX = 4, .pivotY = 6, .offsetX = 100, .offsetY = 100, .children = {1}},
                               {.offsetX = 10, .offsetY = 6}}});
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].screenX, 100);
    EXPECT_EQ(rig.bones[1].screenY, 106);
}

// The game sets its figures' scale itself; a rig's own scale still counts.
TEST(Pose, HangsAChildAtItsParentsScale) {
    Rig rig = build({.bones = {{.scale = 0.5f, .offsetX = 100, .children = {1}}, {.offsetX = 10}}});
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].screenX, 105);  // hung 10 across at half scale
}

TEST(Pose, TruncatesTowardZeroAndSticksAtTheEndsOfInt32) {
    // A swollen or hostile figure; NaN gives 0.
    for (auto [value, truncated] : {std::pair{-1.9f, -1}, {2147483648.0f, INT32_MAX},
                                    {-1e30f, INT32_MIN}, {NAN, 0}})
        EXPECT_EQ(truncateToInt32(value), truncated) << "from " << value;
}

TEST(Pose, DrawsLowerLayersFirstAndEqualLayersInWalkingOrder) {
    // The walk: 0 (layer 5), 1 (layer 5), 3 (layer 0), 2 (layer 255); bone 4
    // is listed by no one. (And the most limbs a rig may have.)
    Rig rig = build({.limbCount = 10, .bones = {{.layer = 5, .children = {1, 2}}, {.layer = 5, .children = {3}}, {.layer = 255}, {}, {}}});
    rig.pose(true);
    rig.pose(true);  // a second pose: the list is rebuilt, not appended to
    EXPECT_EQ(rig.drawList, (std::vector<Bone*>{&rig.bones[3], &rig.bones[1], &rig.bones[0], &rig.bones[2]}));
}

// A flat rig, bones 1 and 2 both children of the root at angle 0, playing a clip.
struct Flat {
    Rig rig = build({.bones = {{.children = {1, 2}}, {}, {}}});
    AnimationClip clip;
    explicit Flat(const std::vector<Keyframe>& keys) {
        clip.assign(keys);
        rig.playClip(clip);
    }
};

// The tween and the loop are drawn in every golden frame; a keyframe out of
// order is not.
TEST(ClipPlayback, AKeyframeOutOfOrderHoldsBackTheRest) {
    // The end frame is that of the last keyframe in file order: 9 + 1. Only
    // the next keyframe in file order can start, on its exact frame, so the
    // one at frame 12 never does and holds back the one at frame 9.
    Flat f({{.boneIndex = 2, .startFrame = 0, .duration = 10, .targetAngle = 1},
            {.boneIndex = 1, .startFrame = 12, .duration = 1, .targetAngle = 1},
            {.boneIndex = 1, .startFrame = 9, .duration = 1, .targetAngle = 0.5f}});
    EXPECT_EQ(f.clip.endFrame(), 10);
    EXPECT_EQ(AnimationClip().endFrame(), 0);
    for (int i = 0; i < 12; ++i) f.rig.pose(true);
    EXPECT_EQ(f.rig.clipFrame, 2);  // wrapped at frame 10
    EXPECT_EQ(f.rig.bones[1].angle, 0.0f);
}

// Faults of a decoded rig: the rig tool's check and the game's parser refuse
// each in the same words.
const struct {
    RigFile rig;
    std::string fault;
} kBadRigs[] = {
    {{.bones = {}}, "boneCount 0 is below 1"},
    {{.limbCount = 0, .bones = {{}}}, "limbCount 0 is outside 1 to 10"},
    {{.limbCount = 11, .bones = {{}}}, "limbCount 11 is outside 1 to 10"},
    // The last bone, so that the check looks past the root.
    {{.bones = {{.children = {1}}, {.children = std::vector(17, 0)}}}, "bone 1 has childCount 17, outside 0 to 16"},
    {{.bones = {{.children = {1}}, {}, {.children = {3}}}}, "child index 3 of bone 2 names no bone"},
    {{.bones = {{.children = {-1}}}}, "child index -1 of bone 0 names no bone"},
    {{.bones = {{.children = {1}}, {.children = {0}}}}, "bone 0, the root, is listed as a child of bone 1"},
    {{.bones = {{.children = {1}}, {}, {.children = {1}}}}, "bone 1 is listed as a child twice (by bone 0 and bone 2)"},
    {{.bones = {{}, {.children = {2}}, {.children = {3}}, {.children = {1}}}},
     "bone 1 is its own ancestor (the bones form a cycle)"},
};

TEST(RigFile, CheckAndParserRefuseABadRigInTheSameWords) {
    for (const auto& [rig, fault] : kBadRigs) {
        SCOPED_TRACE(fault);
        std::string checked, parsed;
        RigFile back;
        EXPECT_FALSE(checkRig(rig, "body", checked));
        EXPECT_EQ(checked, "body: " + fault);
        EXPECT_FALSE(parseRig(encodeRig(rig), "body", back, parsed));
        EXPECT_EQ(parsed, "body: " + fault);
    }
}

// The small test figure (see writeTestResources) at the game path
// "resources\wendle" in a scratch working directory.
struct Figures : testing::Test {
    TempDir dir;
    WorkingDirectory cwd{dir.path};
    std::unique_ptr<Character> character;
    std::string printed;  // by the loader

    void SetUp() override { writeTestResources(dir.path); }
    void load() {
        testing::internal::CaptureStdout();
        character = Character::load(nullptr, "resources\\wendle");
        printed = testing::internal::GetCapturedStdout();
    }
};

Bytes firstBytes(Bytes bytes, std::size_t count) {
    bytes.resize(count);
    return bytes;
}

// One bone whose childCount, after the header and its six 4-byte fields, reads -1.
Bytes childCountMinusOne() {
    Bytes bytes = encodeRig({.bones = {{}}});
    std::fill_n(bytes.begin() + 8 + 24, 4, 0xff);
    return bytes;
}

// Each case replaces one file of the test figure (no bytes: the file is
// missing) and names the fault the loader reports. A missing clip and an
// empty attack clip are read by the end-to-end test.
const struct {
    std::string file;
    std::optional<Bytes> bytes;
    std::string fault;
} kBrokenFiles[] = {
    {"body.jrig", std::nullopt, "file is missing or cannot be read"},
    {"body.jrig", Bytes{1, 0, 0}, "file is 3 bytes, shorter than its 8-byte header"},
    // Refused before two billion bones are made.
    {"body.jrig", Bytes{0xff, 0xff, 0xff, 0x7f, 1, 0, 0, 0},
     "boneCount 2147483647 announces more bones than the 8-byte file holds"},
    {"body.jrig", firstBytes(encodeRig({.bones = {{.children = {1}}, {}}}), 71), "file ends inside the record of bone 1"},
    // Only the first of the two child indices.
    {"body.jrig", firstBytes(encodeRig({.bones = {{.children = {1, 2}}}}), 8 + 30 + 4),
     "file ends inside the child indices of bone 0"},
    {"body.jrig", childCountMinusOne(), "bone 0 has childCount -1, outside 0 to 16"},
    {"idle.janim", std::nullopt, "file is missing or cannot be read"},
    {"attack.janim", Bytes{}, "the attack clip holds no keyframe"},
    {"idle.janim", encodeClip({{.boneIndex = 1, .duration = 1}, {.boneIndex = 1, .startFrame = 1, .duration = 0}}),
     "keyframe 1 has duration 0"},
    {"attack.janim", encodeClip({{.boneIndex = 0, .duration = 4}, {.boneIndex = 3, .duration = 4}}),
     "keyframe 1 turns bone 3, but the rig has 3 bones"},
    {"attack.janim", encodeClip({{.boneIndex = -1, .duration = 4}}), "keyframe 0 turns bone -1, but the rig has 3 bones"},
    {"attack.janim", encodeClip({{.boneIndex = 1, .startFrame = -10, .duration = 4}}),
     "end frame -6 of the last keyframe is outside 1 to 2147483647"},
    {"attack.janim", encodeClip({{.boneIndex = 1, .startFrame = INT32_MAX, .duration = 1}}),
     "end frame 2147483648 of the last keyframe is outside 1 to 2147483647"},
};

// One line naming the file and the fault.
TEST_F(Figures, LoaderRefusesABrokenFileInOneLine) {
    for (const auto& [file, bytes, fault] : kBrokenFiles) {
        SCOPED_TRACE(file + ": " + fault);
        writeTestResources(dir.path);  // a good figure again
        if (bytes) writeFile("resources/wendle/" + file, *bytes);
        else std::filesystem::remove("resources/wendle/" + file);
        load();
        EXPECT_EQ(character, nullptr);
        const std::string kind = file == "body.jrig" ? "Rig" : "Clip";
        EXPECT_EQ(printed, kind + " loading error! : resources\\wendle\\" + file + ": " + fault + "\n");
    }
}

TEST_F(Figures, AttackPlaysForExactlyItsEndFrameThenIdleResumes) {
    load();
    ASSERT_NE(character, nullptr) << printed;
    Character& c = *character;
    // A frame as the game plays it: the update counts a running attack down,
    // then a match or a special shot may start one, then the pose.
    auto frame = [&c](bool attack) {
        c.updateAttack();
        if (attack) c.startAttack();
        c.rig.pose(true);
    };
    frame(false);
    frame(true);
    for (int i = 1; i < 10; ++i) frame(false);
    // Its end frame is 0 + 10: the 10th frame is still the attack's, and its
    // pose wrapped the clip.
    EXPECT_EQ(c.rig.currentClip, &c.attackClip);
    EXPECT_EQ(c.rig.clipFrame, 0);
    frame(false);
    EXPECT_FALSE(c.attackPlaying);
    EXPECT_EQ(c.rig.currentClip, &c.idleClip);
    EXPECT_EQ(c.rig.clipFrame, 1);  // idle from its start
}

}  // namespace
