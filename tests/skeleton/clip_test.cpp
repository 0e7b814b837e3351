#include <gtest/gtest.h>

#include "figure_bytes.h"
#include "skeleton/clip_file.h"
#include "skeleton/rig.h"

namespace {

using figure_bytes::clipBytes;

const std::string kName = "resources\\wendle\\attack.janim";

// A flat rig of n bones, all children of the root, angles 0.
Rig flatRig(std::int32_t n) {
    RigFile file;
    file.bones.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i < n; ++i) file.bones[0].children.push_back(i);
    Rig rig;
    rig.build(file);
    return rig;
}

AnimationClip clipOf(std::initializer_list<figure_bytes::KeySpec> keys, std::int32_t boneCount = 3) {
    std::vector<Keyframe> records;
    std::string error;
    EXPECT_TRUE(parseClip(clipBytes(keys), kName, boneCount, records, error)) << error;
    AnimationClip clip;
    clip.assign(records);
    return clip;
}

TEST(ClipFile, RecordsOfSixteenBytesAngleFirst) {
    auto bytes = clipBytes({{2, 0, 10, 1.0f}, {1, 5, 3, -0.5f}});
    bytes.insert(bytes.end(), 8, 0xAB);  // 40 bytes: the last 8 make no record
    std::vector<Keyframe> keys;
    std::string error;
    ASSERT_TRUE(parseClip(bytes, kName, 3, keys, error)) << error;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].boneIndex, 1);
    EXPECT_EQ(keys[1].startFrame, 5);
    EXPECT_EQ(keys[1].duration, 3);
    EXPECT_EQ(keys[1].targetAngle, -0.5f);
    bytes.resize(32);
    EXPECT_EQ(encodeClip(keys), bytes);

    ASSERT_TRUE(parseClip({}, kName, 3, keys, error));
    EXPECT_TRUE(keys.empty());
    EXPECT_FALSE(checkAttackClip(keys, kName, error));
    EXPECT_EQ(error, kName + ": the attack clip holds no keyframe");
}

TEST(ClipFile, RefusesClipsThatCannotPlay) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string fault;
    };
    const std::vector<Case> cases = {
        {clipBytes({{0, 0, 1, 0}, {0, 1, 1, 0}, {0, 2, 1, 0}, {1, 3, 0, 0}}), "keyframe 3 has duration 0"},
        {clipBytes({{0, 0, -5, 0}}), "keyframe 0 has duration -5"},
        {clipBytes({{0, 0, 4, 0}, {3, 0, 4, 0}}), "keyframe 1 turns bone 3, but the rig has 3 bones"},
        {clipBytes({{-1, 0, 4, 0}}), "keyframe 0 turns bone -1, but the rig has 3 bones"},
        {clipBytes({{0, -10, 4, 0}}), "end frame -6 of the last keyframe is outside 1 to 2147483647"},
        {clipBytes({{0, 2147483647, 1, 0}}),
         "end frame 2147483648 of the last keyframe is outside 1 to 2147483647"},
    };
    for (const Case& c : cases) {
        std::vector<Keyframe> keys;
        std::string error;
        EXPECT_FALSE(parseClip(c.bytes, kName, 3, keys, error));
        EXPECT_EQ(error, kName + ": " + c.fault);
    }
}

TEST(ClipPlayback, TweenTimelineAndLoop) {
    Rig rig = flatRig(3);
    AnimationClip clip = clipOf({{2, 0, 10, 1.0f}});
    EXPECT_EQ(clip.endFrame(), 10);
    rig.playClip(clip);
    float angles[12];
    for (float& a : angles) {
        rig.pose(true);
        a = rig.bones[2].angle;
    }
    EXPECT_EQ(angles[0], 0.0f);
    EXPECT_EQ(angles[1], 0.1f);
    EXPECT_EQ(angles[9], 0.9f);
    // Wrapped within the tenth call: the keyframe restarts from where the
    // bone is, so the eleventh call holds and the twelfth creeps on.
    EXPECT_EQ(angles[10], 0.9f);
    EXPECT_NEAR(angles[11], 0.91f, 1e-6);
    EXPECT_EQ(rig.clipFrame, 2);
}

TEST(ClipPlayback, EmptyClipStartsNothingButRunningTweensFinish) {
    Rig rig = flatRig(3);
    AnimationClip moving = clipOf({{1, 0, 2, 2.0f}});
    AnimationClip empty;
    rig.playClip(moving);
    rig.pose(true);
    rig.playClip(empty);
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].angle, 1.0f);
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].angle, 2.0f);
    EXPECT_EQ(rig.bones[1].activeKeyframe, nullptr);
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].angle, 2.0f);
    EXPECT_EQ(rig.clipFrame, 0);
}

TEST(ClipPlayback, OnlyTheNextKeyframeAtItsExactFrameStarts) {
    Rig rig = flatRig(3);
    // Keyframe 1 starts at 5, not below E = 4: never. Keyframe 1 of the second
    // clip is out of order and holds keyframe 2 back until the loop.
    AnimationClip late = clipOf({{1, 0, 1, 1.0f}, {2, 5, 1, 1.0f}, {1, 3, 1, 0.5f}});
    EXPECT_EQ(late.endFrame(), 4);
    rig.playClip(late);
    for (int i = 0; i < 12; ++i) {
        rig.pose(true);
        EXPECT_EQ(rig.bones[2].angle, 0.0f);
    }
    Rig other = flatRig(3);
    AnimationClip backwards = clipOf({{1, 2, 1, 1.0f}, {2, 1, 1, 1.0f}, {1, 3, 1, -1.0f}});
    other.playClip(backwards);
    for (int i = 0; i < 8; ++i) other.pose(true);
    EXPECT_EQ(other.bones[1].angle, 1.0f);
    EXPECT_EQ(other.bones[2].angle, 0.0f);
}

TEST(ClipPlayback, SameFrameKeyframesStartTogetherTheLaterWinning) {
    Rig rig = flatRig(3);
    AnimationClip clip = clipOf({{1, 0, 1, 5.0f}, {1, 0, 1, -1.0f}, {2, 0, 1, 3.0f}, {0, 4, 1, 0.0f}});
    rig.playClip(clip);
    rig.pose(true);
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].angle, -1.0f);
    EXPECT_EQ(rig.bones[2].angle, 3.0f);
}

TEST(ClipPlayback, AnimateOffFreezesClipAndTweens) {
    Rig rig = flatRig(3);
    AnimationClip clip = clipOf({{1, 0, 4, 1.0f}});
    rig.playClip(clip);
    rig.bones[1].angle = 0.25f;
    for (int i = 0; i < 5; ++i) rig.pose(false);
    EXPECT_EQ(rig.clipFrame, 0);
    EXPECT_EQ(rig.bones[1].angle, 0.25f);
    EXPECT_EQ(rig.bones[1].tweenFrame, 0);
    EXPECT_NE(rig.bones[1].activeKeyframe, nullptr);
    // A tween already at its end is closed even without animation.
    rig.bones[1].tweenFrame = 4;
    rig.pose(false);
    EXPECT_EQ(rig.bones[1].activeKeyframe, nullptr);
    EXPECT_EQ(rig.bones[1].angle, 0.25f);
}

}  // namespace
