#include <gtest/gtest.h>

#include <limits>

#include "figure_bytes.h"
#include "skeleton/rig.h"

namespace {

using figure_bytes::BoneSpec;
using figure_bytes::rigBytes;

const std::string kName = "resources\\wendle\\body.jrig";

Rig buildRig(const std::vector<std::uint8_t>& bytes) {
    RigFile file;
    std::string error;
    EXPECT_TRUE(parseRig(bytes, kName, file, error)) << error;
    Rig rig;
    rig.build(file);
    return rig;
}

std::string refusal(const std::vector<std::uint8_t>& bytes) {
    RigFile file;
    std::string error;
    EXPECT_FALSE(parseRig(bytes, kName, file, error));
    return error;
}

TEST(RigFile, TwoBoneFileLinksParentAndChild) {
    BoneSpec root{0.5f, 1.0f, 10, 20, 128, 100, 0, 3, {1}};
    BoneSpec arm{-0.25f, 0.5f, 4, 6, 30, 12, 1, 7, {}};
    auto bytes = rigBytes(2, {root, arm});
    ASSERT_EQ(bytes.size(), 72u);
    // 1.0 is 00 00 80 3F on disk.
    EXPECT_EQ(bytes[12], 0x00);
    EXPECT_EQ(bytes[15], 0x3F);

    Rig rig = buildRig(bytes);
    ASSERT_EQ(rig.boneCount, 2);
    EXPECT_EQ(rig.limbCount, 2);
    EXPECT_EQ(rig.root, &rig.bones[0]);
    EXPECT_EQ(rig.root->parent, nullptr);
    EXPECT_EQ(rig.bones[1].parent, &rig.bones[0]);
    ASSERT_EQ(rig.root->childCount, 1);
    EXPECT_EQ(rig.root->children[0], &rig.bones[1]);
    const Bone& b = rig.bones[1];
    EXPECT_EQ(b.angle, -0.25f);
    EXPECT_EQ(b.fromAngle, -0.25f);
    EXPECT_EQ(b.scale, 0.5f);
    EXPECT_EQ(b.pivotX, 4);
    EXPECT_EQ(b.pivotY, 6);
    EXPECT_EQ(b.offsetX, 30);
    EXPECT_EQ(b.offsetY, 12);
    EXPECT_EQ(b.limbIndex, 1);
    EXPECT_EQ(b.layer, 7);
    EXPECT_EQ(b.activeKeyframe, nullptr);
    EXPECT_EQ(rig.clipFrame, 0);
    EXPECT_EQ(rig.currentClip, nullptr);
}

TEST(RigFile, AcceptsWhatTheFormatAllows) {
    // A child recorded before its parent; a bone nobody lists; trailing bytes;
    // negative scale and offsets; limb indices past limbCount; NaN angles.
    BoneSpec root{0, 1, 0, 0, 0, 0, 0, 0, {2}};
    BoneSpec child{std::numeric_limits<float>::quiet_NaN(), -2.5f, -3, -4, -50, -60, 12, 255, {}};
    BoneSpec parent{0, 1, 0, 0, 0, 0, 0, 0, {1}};
    BoneSpec loose{};
    auto bytes = rigBytes(5, {root, child, parent, loose});
    Rig plain = buildRig(bytes);
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5, 6, 7});
    Rig trailing = buildRig(bytes);
    for (Rig* rig : {&plain, &trailing}) {
        EXPECT_EQ(rig->bones[1].parent, &rig->bones[2]);
        EXPECT_EQ(rig->bones[2].children[0], &rig->bones[1]);
        EXPECT_EQ(rig->bones[3].parent, nullptr);
        EXPECT_EQ(rig->bones[1].scale, -2.5f);
        EXPECT_EQ(rig->bones[1].offsetX, -50);
        EXPECT_EQ(rig->bones[1].limbIndex, 12);
        EXPECT_TRUE(rig->bones[1].angle != rig->bones[1].angle);
    }
}

TEST(RigFile, RefusesBrokenFilesNamingTheFault) {
    BoneSpec leaf{};
    auto withChildren = [](std::vector<std::int32_t> c) { return BoneSpec{0, 1, 0, 0, 0, 0, 0, 0, std::move(c)}; };
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string fault;
    };
    auto truncated = rigBytes(1, {withChildren({1}), leaf});
    truncated.resize(truncated.size() - 1);
    auto shortChildren = rigBytes(1, {withChildren({1, 2})});
    shortChildren.resize(8 + 30 + 4);  // only the first child index is there
    std::vector<std::uint8_t> hugeCount;
    figure_bytes::putInt(hugeCount, 0x7fffffff);
    figure_bytes::putInt(hugeCount, 1);
    auto negativeChildren = rigBytes(1, {leaf});
    negativeChildren[8 + 24] = 0xff;  // childCount -1
    for (int i = 1; i < 4; ++i) negativeChildren[8 + 24 + i] = 0xff;
    const std::vector<Case> cases = {
        {{1, 0, 0}, "file is 3 bytes, shorter than its 8-byte header"},
        {rigBytes(1, {}), "boneCount 0 is below 1"},
        {rigBytes(0, {leaf}), "limbCount 0 is outside 1 to 10"},
        {rigBytes(11, {leaf}), "limbCount 11 is outside 1 to 10"},
        {hugeCount, "boneCount 2147483647 announces more bones than the 8-byte file holds"},
        {truncated, "file ends inside the record of bone 1"},
        {shortChildren, "file ends inside the child indices of bone 0"},
        {rigBytes(1, {withChildren(std::vector<std::int32_t>(17, 1)), leaf}),
         "bone 0 has childCount 17, outside 0 to 16"},
        {negativeChildren, "bone 0 has childCount -1, outside 0 to 16"},
        {rigBytes(1, {withChildren({1}), leaf, withChildren({9})}), "child index 9 of bone 2 names no bone"},
        {rigBytes(1, {withChildren({-1})}), "child index -1 of bone 0 names no bone"},
        {rigBytes(1, {withChildren({1}), withChildren({0})}), "bone 0, the root, is listed as a child of bone 1"},
        {rigBytes(1, {withChildren({1, 1}), leaf}), "bone 1 is listed as a child twice (by bone 0 and bone 0)"},
        {rigBytes(1, {withChildren({1}), leaf, withChildren({1})}),
         "bone 1 is listed as a child twice (by bone 0 and bone 2)"},
        {rigBytes(1, {leaf, withChildren({1})}), "bone 1 is its own ancestor (the bones form a cycle)"},
        {rigBytes(1, {leaf, withChildren({2}), withChildren({3}), withChildren({1})}),
         "bone 1 is its own ancestor (the bones form a cycle)"},
    };
    for (const Case& c : cases) EXPECT_EQ(refusal(c.bytes), kName + ": " + c.fault);
}

TEST(RigFile, EncoderWritesWhatTheParserReads) {
    BoneSpec root{0.1f, 0.7f, 22, 56, 128, 100, 0, 3, {2, 1}};
    BoneSpec a{-1.5f, 1, 8, 7, 30, 14, 11, 1, {}};
    BoneSpec b{3.0f, -1, 1, 2, -3, -4, 2, 9, {}};
    auto bytes = rigBytes(3, {root, a, b});
    RigFile file;
    std::string error;
    ASSERT_TRUE(parseRig(bytes, kName, file, error));
    EXPECT_EQ(encodeRig(file), bytes);
    EXPECT_TRUE(checkRig(file, kName, error));
    file.bones[1].children = {0};
    EXPECT_FALSE(checkRig(file, kName, error));
    EXPECT_EQ(error, kName + ": bone 0, the root, is listed as a child of bone 1");
}

}  // namespace
