#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "figure_bytes.h"
#include "skeleton/clip_file.h"
#include "skeleton/pose.h"
#include "skeleton/rig.h"

namespace {

using namespace figure_bytes;

// Parses the bytes followed by `trailing` stray bytes, which the encoder drops.
Rig parseAndBuild(const Bytes& bytes, Bytes trailing = {}) {
    trailing.insert(trailing.begin(), bytes.begin(), bytes.end());
    RigFile file;
    std::string error;
    EXPECT_TRUE(parseRig(trailing, "body.jrig", file, error)) << error;
    EXPECT_EQ(encodeRig(file), bytes);
    Rig rig;
    rig.build(file);
    return rig;
}

Rig rigOf(const std::vector<BoneRecord>& bones) { return parseAndBuild(rigBytes(1, bones)); }

TEST(RigFile, TwoBoneFileLinksParentAndChild) {
    const Bytes bytes = rigBytes(2, {BoneRecord{0.5f, 1.0f, 10, 20, 128, 100, 0, 3, {1}},
                                     BoneRecord{-0.25f, 0.5f, 4, 6, 30, 12, 1, 7, {}}});
    ASSERT_EQ(bytes.size(), 72u);
    Rig rig = parseAndBuild(bytes);
    ASSERT_EQ(std::tuple(rig.boneCount, rig.limbCount), std::tuple(2, 2));
    EXPECT_EQ(rig.root->parent, nullptr);
    EXPECT_EQ(rig.bones[1].parent, &rig.bones[0]);
    ASSERT_EQ(rig.root->childCount, 1);
    EXPECT_EQ(rig.root->children[0], &rig.bones[1]);
    const Bone& b = rig.bones[1];
    EXPECT_EQ(std::tuple(b.angle, b.fromAngle, b.scale, b.pivotX, b.pivotY, b.offsetX, b.offsetY),
              std::tuple(-0.25f, -0.25f, 0.5f, 4, 6, 30, 12));
    EXPECT_EQ(b.limbIndex, 1);
    EXPECT_EQ(b.layer, 7);
}

TEST(RigFile, AcceptsChildBeforeParentTrailingBytesAndOddValues) {
    // A child recorded before its parent; a bone nobody lists; negative scale
    // and offsets; a limb index past limbCount; a NaN angle; then trailing bytes.
    BoneRecord child{std::numeric_limits<float>::quiet_NaN(), -2.5f, -3, -4, -50, -60, 12, 255, {}};
    const BoneRecord root{0, 1, 0, 0, 0, 0, 0, 0, {2}}, parent{0, 1, 0, 0, 0, 0, 0, 0, {1}};
    Rig rig = parseAndBuild(rigBytes(5, {root, child, parent, BoneRecord{}}), {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(rig.bones[1].parent, &rig.bones[2]);
    EXPECT_EQ(rig.bones[2].children[0], &rig.bones[1]);
    EXPECT_EQ(rig.bones[3].parent, nullptr);
    EXPECT_EQ(std::tuple(rig.bones[1].scale, rig.bones[1].offsetX, rig.bones[1].limbIndex),
              std::tuple(-2.5f, -50, std::uint8_t{12}));
    EXPECT_TRUE(std::isnan(rig.bones[1].angle));
}

TEST(Pose, SingleBoneDrawsAroundItsPivot) {
    Rig rig = rigOf({{0, 1, 10, 20, 128, 100, 0, 0, {}}});
    rig.pose(true);
    ASSERT_EQ(rig.drawList.size(), 1u);
    const LimbPlacement p = placeLimb(*rig.drawList[0], 40, 60);
    EXPECT_EQ(std::tuple(p.destination.x, p.destination.y, p.destination.w, p.destination.h),
              std::tuple(118, 80, 40, 60));
    EXPECT_EQ(std::tuple(p.centre.x, p.centre.y), std::tuple(10, 20));
}

TEST(Pose, QuarterTurnUsesSinglePrecision) {
    Rig rig = rigOf({{0, 1, 4, 6, 100, 100, 0, 0, {1}}, {0, 1, 0, 0, 10, 6, 0, 0, {}}});
    rig.root->angle = static_cast<float>(std::numbers::pi / 2);
    rig.pose(true);
    // (100, 106); 99 across if the first sum were kept in double.
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(100, 106));
}

TEST(Pose, ScaledPivotTruncatesAndScalesTheChildOffset) {
    Rig rig = rigOf({{0, 0.7f, 15, 7, 0, 0, 0, 0, {1}}, {0, 1, 0, 0, 15, 17, 0, 0, {}}});
    rig.pose(true);
    EXPECT_EQ(std::tuple(rig.root->scaledPivotX, rig.root->scaledPivotY), std::tuple(10, 4));
    // Attachment 10 pixels below the pivot in the image: 7 on screen.
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(0, 7));
}

TEST(Pose, DrawListOrdersByLayerThenReversePoseOrder) {
    // Root (layer 5) poses first, then 1 (layer 5), 3 (layer 0), 2 (layer 255);
    // bone 4 is listed by no one.
    Rig rig = rigOf({{0, 1, 0, 0, 0, 0, 0, 5, {1, 2}}, {0, 1, 0, 0, 0, 0, 0, 5, {3}},
                     {0, 1, 0, 0, 0, 0, 0, 255, {}}, {}, {}});
    for (int pass = 0; pass < 2; ++pass) {  // rebuilt by each pose, not appended to
        rig.pose(true);
        const std::vector<Bone*> expected = {&rig.bones[3], &rig.bones[1], &rig.bones[0], &rig.bones[2]};
        EXPECT_EQ(rig.drawList, expected);
    }
}

// A flat three-bone rig, both children of the root, angles 0, playing a clip
// parsed from hand-written bytes plus `stray` bytes that make no record.
struct Flat {
    Rig rig = rigOf({{0, 1, 0, 0, 0, 0, 0, 0, {1, 2}}, {}, {}});
    AnimationClip clip;
    explicit Flat(const std::vector<Keyframe>& keys, std::size_t stray = 0) {
        Bytes bytes = clipBytes(keys);
        bytes.insert(bytes.end(), stray, 0xAB);
        std::vector<Keyframe> records;
        std::string error;
        EXPECT_TRUE(parseClip(bytes, "attack.janim", 3, records, error)) << error;
        EXPECT_EQ(encodeClip(records), clipBytes(keys));
        clip.assign(records);
        rig.playClip(clip);
    }
};

TEST(ClipPlayback, TweenTimelineAndLoop) {
    Flat f({{2, 0, 10, 1.0f}}, 8);
    EXPECT_EQ(f.clip.endFrame(), 10);
    float angles[12];
    for (float& a : angles) {
        f.rig.pose(true);
        a = f.rig.bones[2].angle;
    }
    EXPECT_EQ(angles[0], 0.0f);
    EXPECT_EQ(angles[1], 0.1f);
    EXPECT_EQ(angles[9], 0.9f);
    // Wrapped within the tenth call: the keyframe restarts from where the
    // bone is, so the eleventh call holds and the twelfth creeps on.
    EXPECT_EQ(angles[10], 0.9f);
    EXPECT_NEAR(angles[11], 0.91f, 1e-6);
    EXPECT_EQ(f.rig.clipFrame, 2);
}

TEST(ClipPlayback, KeyframeStartingAtOrPastTheEndNeverStarts) {
    Flat f({{1, 0, 1, 1.0f}, {2, 5, 1, 1.0f}, {1, 3, 1, 0.5f}});  // E = 4; keyframe 1 starts at 5
    EXPECT_EQ(f.clip.endFrame(), 4);
    for (int i = 0; i < 12; ++i) {
        f.rig.pose(true);
        EXPECT_EQ(f.rig.bones[2].angle, 0.0f) << i;
    }
}

TEST(ClipPlayback, AnimateOffFreezesClipAndTweens) {
    Flat f({{1, 0, 4, 1.0f}});
    f.rig.bones[1].angle = 0.25f;
    for (int i = 0; i < 5; ++i) f.rig.pose(false);
    EXPECT_EQ(f.rig.clipFrame, 0);
    EXPECT_EQ(f.rig.bones[1].angle, 0.25f);
    EXPECT_EQ(f.rig.bones[1].tweenFrame, 0);
    EXPECT_NE(f.rig.bones[1].activeKeyframe, nullptr);
    // A tween already at its end is closed even without animation.
    f.rig.bones[1].tweenFrame = 4;
    f.rig.pose(false);
    EXPECT_EQ(f.rig.bones[1].activeKeyframe, nullptr);
    EXPECT_EQ(f.rig.bones[1].angle, 0.25f);
}

}  // namespace
