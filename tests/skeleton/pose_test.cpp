#include <gtest/gtest.h>

#include <limits>
#include <numbers>

#include "skeleton/pose.h"
#include "skeleton/rig.h"

namespace {

// A rig from plain records; children as given, no textures.
Rig rigOf(std::vector<BoneRecord> bones) {
    RigFile file;
    file.bones = std::move(bones);
    std::string error;
    EXPECT_TRUE(checkRig(file, "test", error)) << error;
    Rig rig;
    rig.build(file);
    return rig;
}

BoneRecord bone(std::int32_t pivotX, std::int32_t pivotY, std::int32_t offsetX, std::int32_t offsetY,
                std::vector<std::int32_t> children = {}, std::uint8_t layer = 0) {
    BoneRecord b;
    b.pivotX = pivotX;
    b.pivotY = pivotY;
    b.offsetX = offsetX;
    b.offsetY = offsetY;
    b.children = std::move(children);
    b.layer = layer;
    return b;
}

TEST(Pose, SingleBoneDrawsAroundItsPivot) {
    Rig rig = rigOf({bone(10, 20, 128, 100)});
    rig.pose(true);
    ASSERT_EQ(rig.drawList.size(), 1u);
    LimbPlacement p = placeLimb(*rig.drawList[0], 40, 60);
    EXPECT_EQ(p.destination.x, 118);
    EXPECT_EQ(p.destination.y, 80);
    EXPECT_EQ(p.destination.w, 40);
    EXPECT_EQ(p.destination.h, 60);
    EXPECT_EQ(p.centre.x, 10);
    EXPECT_EQ(p.centre.y, 20);
    EXPECT_EQ(p.degrees, 0.0);

    rig.root->angle = 1.0f;
    rig.root->scale = 0.5f;
    rig.pose(true);
    p = placeLimb(*rig.root, 41, 60);
    EXPECT_EQ(p.destination.x, 123);  // pivot scaled to (5, 10), still on (128, 100)
    EXPECT_EQ(p.destination.w, 20);   // 20.5 truncated
    EXPECT_EQ(p.degrees, static_cast<double>(1.0f) * 57.29577);
}

TEST(Pose, ChildAtParentAngleZeroFollowsTheOffset) {
    Rig rig = rigOf({bone(10, 20, 128, 100, {1}), bone(3, 3, 10, 20), });
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].screenX, 128);  // offset on the parent's pivot
    EXPECT_EQ(rig.bones[1].screenY, 100);
    rig.bones[1].offsetX = 35;
    rig.bones[1].offsetY = -7;
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].screenX, 128 + 35 - 10);
    EXPECT_EQ(rig.bones[1].screenY, 100 - 7 - 20);
}

TEST(Pose, QuarterTurnUsesSinglePrecision) {
    Rig rig = rigOf({bone(4, 6, 100, 100, {1}), bone(0, 0, 10, 6)});
    rig.root->angle = static_cast<float>(std::numbers::pi / 2);
    rig.pose(true);
    EXPECT_EQ(rig.bones[1].screenX, 100);  // 99 if the first sum were kept in double
    EXPECT_EQ(rig.bones[1].screenY, 106);
}

TEST(Pose, ScaledPivotTruncatesAndScalesTheChildOffset) {
    Rig rig = rigOf({bone(15, 7, 0, 0, {1}), bone(0, 0, 15, 17)});
    rig.root->scale = 0.7f;
    rig.pose(true);
    EXPECT_EQ(rig.root->scaledPivotX, 10);
    EXPECT_EQ(rig.root->scaledPivotY, 4);
    // Attachment 10 pixels below the pivot in the image: 7 on screen.
    EXPECT_EQ(rig.bones[1].screenX, 0);
    EXPECT_EQ(rig.bones[1].screenY, 7);
    // Grandparents act only through the parent's position.
    rig.root->scale = -1.0f;
    rig.pose(true);
    EXPECT_EQ(rig.root->scaledPivotX, -15);
    EXPECT_EQ(rig.bones[1].screenY, -10);
}

TEST(Pose, DrawListOrdersByLayerThenReversePoseOrder) {
    // Root (layer 5) poses first, then 1 (layer 5), 3 (layer 0), 2 (layer 255).
    Rig rig = rigOf({bone(0, 0, 0, 0, {1, 2}, 5), bone(0, 0, 0, 0, {3}, 5), bone(0, 0, 0, 0, {}, 255),
                     bone(0, 0, 0, 0, {}, 0), bone(0, 0, 0, 0, {}, 0)});
    rig.pose(true);
    ASSERT_EQ(rig.drawList.size(), 4u);  // bone 4 is listed by no one
    EXPECT_EQ(rig.drawList[0], &rig.bones[3]);
    EXPECT_EQ(rig.drawList[1], &rig.bones[1]);  // equal layers: posed later, drawn under
    EXPECT_EQ(rig.drawList[2], &rig.bones[0]);
    EXPECT_EQ(rig.drawList[3], &rig.bones[2]);
    // The list is rebuilt, not appended to, and keeps its storage.
    const Bone* const* storage = rig.drawList.data();
    rig.pose(true);
    EXPECT_EQ(rig.drawList.size(), 4u);
    EXPECT_EQ(rig.drawList.data(), storage);
}

TEST(Pose, DepthFirstChildrenInFileOrder) {
    // Equal layers reverse the pose order, so the list read backwards is the walk.
    Rig rig = rigOf({bone(0, 0, 0, 0, {2, 1}), bone(0, 0, 0, 0, {3}), bone(0, 0, 0, 0, {4}), bone(0, 0, 0, 0),
                     bone(0, 0, 0, 0)});
    rig.pose(true);
    std::vector<Bone*> walk(rig.drawList.rbegin(), rig.drawList.rend());
    std::vector<Bone*> expected = {&rig.bones[0], &rig.bones[2], &rig.bones[4], &rig.bones[1], &rig.bones[3]};
    EXPECT_EQ(walk, expected);
}

TEST(Pose, AnglesSetFromOutsideShowWithoutAnimation) {
    Rig rig = rigOf({bone(0, 0, 50, 50, {1}), bone(0, 0, 10, 0)});
    rig.root->angle = static_cast<float>(std::numbers::pi);
    rig.pose(false);
    EXPECT_EQ(rig.bones[1].screenX, 40);
    EXPECT_EQ(rig.bones[1].screenY, 50);
}

TEST(Pose, HostileNumbersStayDefined) {
    EXPECT_EQ(truncateToInt32(-0.99f), 0);
    EXPECT_EQ(truncateToInt32(-2.5f), -2);
    EXPECT_EQ(truncateToInt32(3e9f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncateToInt32(-3e9f), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(truncateToInt32(std::numeric_limits<float>::quiet_NaN()), 0);
    Rig rig = rigOf({bone(-2000000000, 2000000000, 2147483647, -2147483647, {1}), bone(7, 7, 2147483647, 1)});
    rig.root->scale = 1e30f;
    rig.root->angle = std::numeric_limits<float>::infinity();
    rig.pose(true);
    LimbPlacement p = placeLimb(*rig.root, 100, 100);
    EXPECT_EQ(p.destination.x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(p.destination.y, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(p.destination.w, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(rig.bones[1].screenX, 0);  // cos and sin of infinity are NaN
}

}  // namespace
