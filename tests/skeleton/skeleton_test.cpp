// The figures: rig and clip files byte for byte and every refusal, posing,
// clip playback, and whole characters loaded, drawn and played.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>

#include "platform/file.h"
#include "skeleton/character.h"
#include "skeleton/clip_file.h"
#include "skeleton/pose.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

using Bytes = std::vector<std::uint8_t>;

// Bytes after the last whole record, which the loaders ignore.
Bytes withStrayBytes(Bytes bytes) {
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5, 6, 7});
    return bytes;
}

// A rig from its file: encoded, read back with stray bytes after it, checked,
// encoded again to the same bytes, then built.
Rig build(const RigFile& file) {
    const Bytes bytes = encodeRig(file);
    RigFile back;
    std::string error;
    EXPECT_TRUE(parseRig(withStrayBytes(bytes), "body", back, error)) << error;
    EXPECT_TRUE(checkRig(back, "body", error)) << error;
    EXPECT_EQ(encodeRig(back), bytes);
    Rig rig;
    rig.build(back);
    return rig;
}

Rig posed(const RigFile& file) {
    Rig rig = build(file);
    rig.pose(true);
    return rig;
}

TEST(Pose, PlacesTheRootOnItsPivotAndTheChildWhereItHangs) {
    // Scale 0.7 makes the root's pivot (15, 7) into (10, 4), and its 40 x 60
    // image 28 x 42. The child hangs (15, 17) into the root's image, which is
    // (10, 11) on screen from the root's corner at (118, 96).
    Rig rig = posed({.bones = {{.scale = 0.7f, .pivotX = 15, .pivotY = 7, .offsetX = 128, .offsetY = 100, .children = {1}},
                               {.offsetX = 15, .offsetY = 17}}});
    const LimbPlacement limb = placeLimb(*rig.root, 40, 60);
    EXPECT_EQ(limb.destination.x, 118);
    EXPECT_EQ(limb.destination.y, 96);
    EXPECT_EQ(limb.destination.w, 28);
    EXPECT_EQ(limb.destination.h, 42);
    EXPECT_EQ(rig.bones[1].screenX, 128);
    EXPECT_EQ(rig.bones[1].screenY, 107);
}

TEST(Pose, TurnsInSinglePrecision) {
    // A quarter turn puts the child at (100, 106); 99 across if the first
    // sum were kept in double.
    Rig rig = posed({.bones = {{.angle = 1.5707964f, .pivotX = 4, .pivotY = 6, .offsetX = 100, .offsetY = 100, .children = {1}},
                               {.offsetX = 10, .offsetY = 6}}});
    EXPECT_EQ(rig.bones[1].screenX, 100);
    EXPECT_EQ(rig.bones[1].screenY, 106);
}

TEST(Pose, TruncatesTowardZeroAndSticksAtTheEndsOfInt32) {
    // A swollen or hostile figure; NaN gives 0.
    for (auto [value, truncated] : {std::pair{-1.9f, -1}, {2147483648.0f, INT32_MAX}, {1e30f, INT32_MAX},
                                    {-2147483648.0f, INT32_MIN}, {-1e30f, INT32_MIN}, {NAN, 0}})
        EXPECT_EQ(truncateToInt32(value), truncated) << "from " << value;
}

TEST(Pose, DrawsLowerLayersFirstAndEqualLayersInWalkingOrder) {
    // The walk: 0 (layer 5), 1 (layer 5), 3 (layer 0), 2 (layer 255); bone 4
    // is listed by no one. (And the most limbs a rig may have.)
    Rig rig = posed({.limbCount = 10, .bones = {{.layer = 5, .children = {1, 2}}, {.layer = 5, .children = {3}}, {.layer = 255}, {}, {}}});
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

TEST(ClipPlayback, TweensAndLoopsAndAKeyframeOutOfOrderHoldsBackTheRest) {
    // The end frame is that of the last keyframe in file order: 9 + 1. Only
    // the next keyframe in file order can start, on its exact frame, so the
    // one at frame 12 never does and holds back the one at frame 9.
    Flat f({{.boneIndex = 2, .startFrame = 0, .duration = 10, .targetAngle = 1},
            {.boneIndex = 1, .startFrame = 12, .duration = 1, .targetAngle = 1},
            {.boneIndex = 1, .startFrame = 9, .duration = 1, .targetAngle = 0.5f}});
    EXPECT_EQ(f.clip.endFrame(), 10);
    EXPECT_EQ(AnimationClip().endFrame(), 0);
    float angles[12];
    for (float& angle : angles) {
        f.rig.pose(true);
        angle = f.rig.bones[2].angle;
    }
    EXPECT_EQ(angles[0], 0.0f);
    EXPECT_EQ(angles[1], 0.1f);
    EXPECT_EQ(angles[9], 0.9f);
    // The clip wrapped within the tenth pose and the keyframe restarted from
    // where the bone is: the eleventh pose holds, the twelfth creeps on.
    EXPECT_EQ(angles[10], 0.9f);
    EXPECT_NEAR(angles[11], 0.91f, 1e-6);
    EXPECT_EQ(f.rig.clipFrame, 2);
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
    {{.bones = {{.children = std::vector(17, 1)}, {}}}, "bone 0 has childCount 17, outside 0 to 16"},
    {{.bones = {{}, {.children = std::vector(17, 0)}}}, "bone 1 has childCount 17, outside 0 to 16"},
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
// missing) and names the fault the loader reports.
const struct {
    std::string file;
    std::optional<Bytes> bytes;
    std::string fault;
} kBrokenFiles[] = {
    {"body.jrig", std::nullopt, "file is missing or cannot be read"},
    {"body.jrig", Bytes{1, 0, 0}, "file is 3 bytes, shorter than its 8-byte header"},
    {"body.jrig", Bytes{0xff, 0xff, 0xff, 0x7f, 1, 0, 0, 0},
     "boneCount 2147483647 announces more bones than the 8-byte file holds"},
    {"body.jrig", firstBytes(encodeRig({.bones = {{.children = {1}}, {}}}), 71), "file ends inside the record of bone 1"},
    // Only the first of the two child indices.
    {"body.jrig", firstBytes(encodeRig({.bones = {{.children = {1, 2}}}}), 8 + 30 + 4),
     "file ends inside the child indices of bone 0"},
    {"body.jrig", childCountMinusOne(), "bone 0 has childCount -1, outside 0 to 16"},
    {"idle.janim", encodeClip({{.boneIndex = 1, .duration = 1}, {.boneIndex = 1, .startFrame = 1, .duration = 0}}),
     "keyframe 1 has duration 0"},
    {"attack.janim", encodeClip({{.boneIndex = 0, .duration = 4}, {.boneIndex = 3, .duration = 4}}),
     "keyframe 1 turns bone 3, but the rig has 3 bones"},
    {"attack.janim", encodeClip({{.boneIndex = -1, .duration = 4}}), "keyframe 0 turns bone -1, but the rig has 3 bones"},
    {"attack.janim", Bytes{}, "the attack clip holds no keyframe"},
    {"attack.janim", encodeClip({{.boneIndex = 1, .startFrame = -10, .duration = 4}}),
     "end frame -6 of the last keyframe is outside 1 to 2147483647"},
    {"attack.janim", encodeClip({{.boneIndex = 1, .startFrame = INT32_MAX, .duration = 1}}),
     "end frame 2147483648 of the last keyframe is outside 1 to 2147483647"},
};

// One line naming the file and the fault, before any limb image is tried.
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
    EXPECT_EQ(c.attackFramesLeft, 0);  // idle frames count nothing
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

// A clip loaded on its own, without its figure.
TEST_F(Figures, ClipLoaderReadsAClipOrSaysWhyNot) {
    AnimationClip clip;
    std::string error;
    EXPECT_FALSE(clip.load("resources\\none.janim", 3, error));
    EXPECT_EQ(error, "resources\\none.janim: file is missing or cannot be read");
    EXPECT_TRUE(clip.load("resources\\wendle\\attack.janim", 3, error)) << error;
    EXPECT_EQ(clip.endFrame(), 10);
}

// The shipped figures load, and each file comes back byte for byte through
// the rig tool's text form.
TEST(ShippedFigures, LoadAndSurviveTheRigToolsTextForm) {
    TempDir scratch;
    WorkingDirectory cwd(AMBER_BUILD_DIR);
    const std::string text = scratch.file("figure.json"), again = scratch.file("again");
    for (const std::string figure : {"wendle", "debugman"}) {
        for (const std::string file : {"body.jrig", "idle.janim", "attack.janim"}) {
            const std::string original = "resources/" + figure + "/" + file, kind = file == "body.jrig" ? "rig" : "clip";
            SCOPED_TRACE(original);
            ASSERT_EQ(run(AMBER_RIGTOOL, "dump-" + kind + " " + original + " > " + text), 0);
            ASSERT_EQ(run(AMBER_RIGTOOL, "compile-" + kind + " " + text + " " + again), 0);
            Bytes compiled, kept;
            EXPECT_TRUE(platform::readBinaryFile(again, compiled));
            EXPECT_TRUE(platform::readBinaryFile(original, kept));
            EXPECT_EQ(compiled, kept);
        }
    }
}

}  // namespace
