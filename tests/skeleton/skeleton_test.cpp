// The figures: their rig and clip files byte for byte, posing, clip playback,
// and whole characters loaded, refused, played and drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <bit>
#include <optional>
#include <tuple>

#include "platform/file.h"
#include "skeleton/byte_reader.h"
#include "skeleton/character.h"
#include "skeleton/clip_file.h"
#include "skeleton/pose.h"
#include "support/canvas.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Figure files come from the game's own encoders; the refusal cases below pin
// the layout (header, record, child indices) and the byte reader its fields.
// Bones are {angle, scale, pivotX, pivotY, offsetX, offsetY, limb, layer, children}.
Bytes rigBytes(std::int32_t limbCount, std::vector<BoneRecord> bones) {
    return encodeRig({limbCount, std::move(bones)});
}

// Parses the bytes followed by `trailing` stray bytes, which the encoder drops.
Rig build(const Bytes& bytes, Bytes trailing = {}) {
    trailing.insert(trailing.begin(), bytes.begin(), bytes.end());
    RigFile file;
    std::string error;
    EXPECT_TRUE(parseRig(trailing, "body.jrig", file, error)) << error;
    EXPECT_EQ(encodeRig(file), bytes);
    Rig rig;
    rig.build(file);
    return rig;
}

Rig rigOf(const std::vector<BoneRecord>& bones) { return build(rigBytes(1, bones)); }

TEST(RigFile, FieldsReadInFullOrNotAtAllAndOddButValidFilesLoad) {
    // The last four bytes read; three are left untouched.
    const std::uint8_t bytes[] = {0xfe, 0xff, 0xff, 0x3f};
    std::int32_t i = 0;
    float f = 0;
    ByteReader whole{bytes}, again{bytes}, shorter{std::span(bytes, 3)};
    EXPECT_TRUE(whole.readInt32(i) && again.readFloat32(f));
    EXPECT_EQ(std::tuple(i, f, whole.position, again.position),
              std::tuple(0x3ffffffe, std::bit_cast<float>(0x3ffffffe), 4u, 4u));
    EXPECT_FALSE(shorter.readInt32(i) || shorter.readFloat32(f));
    EXPECT_EQ(std::tuple(i, f, shorter.position), std::tuple(0x3ffffffe, std::bit_cast<float>(0x3ffffffe), 0u));
    // A child recorded before its parent, a bone nobody lists, the most limbs
    // allowed, negative values, a limb index past limbCount, a NaN angle, and
    // trailing bytes.
    const BoneRecord root{0.5f, 1, 10, 20, 128, 100, 0, 3, {2}}, parent{0, 1, 0, 0, 0, 0, 0, 0, {1}};
    const BoneRecord child{-0.25f, -2.5f, -3, -4, -50, -60, 12, 255, {}}, stray{NAN, 1, 0, 0, 0, 0, 0, 0, {}};
    Rig rig = build(rigBytes(10, {root, child, parent, stray}), {1, 2, 3, 4, 5, 6, 7});
    std::string error;  // the same rig checked as records, as the rig tool holds it
    EXPECT_TRUE(checkRig({10, {root, child, parent, stray}}, "body.jrig", error)) << error;
    ASSERT_EQ(std::tuple(rig.boneCount, rig.limbCount, rig.root), std::tuple(4, 10, &rig.bones[0]));
    EXPECT_EQ(std::tuple(rig.root->parent, rig.bones[1].parent, rig.bones[2].parent, rig.bones[3].parent),
              std::tuple(nullptr, &rig.bones[2], &rig.bones[0], nullptr));
    EXPECT_EQ(std::tuple(rig.root->childCount, rig.root->children[0], rig.bones[2].children[0]),
              std::tuple(1, &rig.bones[2], &rig.bones[1]));
    const Bone& b = rig.bones[1];
    EXPECT_EQ(std::tuple(b.angle, b.fromAngle, b.scale, b.pivotX, b.pivotY, b.offsetX, b.offsetY, b.limbIndex,
                         b.layer), std::tuple(-0.25f, -0.25f, -2.5f, -3, -4, -50, -60, 12, 255));
    EXPECT_TRUE(std::isnan(rig.bones[3].angle));
}

TEST(Pose, PlacesLimbsAndChildrenInSinglePrecisionInt32AndLayerOrder) {
    Rig rig = rigOf({{0, 1, 10, 20, 128, 100, 0, 0, {}}});
    rig.pose(true);
    LimbPlacement p = placeLimb(*rig.root, 40, 60);
    const SDL_Rect& d = p.destination;
    EXPECT_EQ(std::tuple(d.x, d.y, d.w, d.h, p.centre.x, p.centre.y), std::tuple(118, 80, 40, 60, 10, 20));
    rig = rigOf({{0, 1, 4, 6, 100, 100, 0, 0, {1}}, {0, 1, 0, 0, 10, 6, 0, 0, {}}});
    rig.root->angle = static_cast<float>(std::numbers::pi / 2);
    rig.pose(true);
    // (100, 106); 99 across if the first sum were kept in double.
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(100, 106));
    rig = rigOf({{0, 0.7f, 15, 7, 0, 0, 0, 0, {1}}, {0, 1, 0, 0, 15, 17, 0, 0, {}}});
    rig.pose(true);
    // Pivot (10, 4); the attachment 10 pixels below it in the image is 7 on screen.
    EXPECT_EQ(std::tuple(rig.root->scaledPivotX, rig.root->scaledPivotY), std::tuple(10, 4));
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(0, 7));
    // A swollen or hostile figure sticks at the ends of int32; NaN gives 0.
    for (auto [value, truncated] : {std::pair{-1.9f, -1}, {2147483648.0f, INT32_MAX}, {1e30f, INT32_MAX},
                                    {-2147483648.0f, INT32_MIN}, {-1e30f, INT32_MIN}, {NAN, 0}})
        EXPECT_EQ(truncateToInt32(value), truncated) << value;
    // Root (layer 5) poses first, then 1 (layer 5), 3 (layer 0), 2 (layer 255);
    // bone 4 is listed by no one.
    rig = rigOf({{0, 1, 0, 0, 0, 0, 0, 5, {1, 2}}, {0, 1, 0, 0, 0, 0, 0, 5, {3}},
                 {0, 1, 0, 0, 0, 0, 0, 255, {}}, {}, {}});
    for (int pass = 0; pass < 2; ++pass) {  // rebuilt by each pose, not appended to
        rig.pose(true);
        EXPECT_EQ(rig.drawList, (std::vector<Bone*>{&rig.bones[3], &rig.bones[1], &rig.bones[0], &rig.bones[2]}));
    }
}

// A flat three-bone rig, both children of the root, angles 0, playing a clip
// parsed from its bytes plus 8 stray bytes that make no record.
struct Flat {
    Rig rig = rigOf({{0, 1, 0, 0, 0, 0, 0, 0, {1, 2}}, {}, {}});
    AnimationClip clip;
    explicit Flat(const std::vector<Keyframe>& keys) {
        Bytes bytes = encodeClip(keys);
        bytes.insert(bytes.end(), 8, 0xAB);
        std::vector<Keyframe> records;
        std::string error;
        EXPECT_TRUE(parseClip(bytes, "attack.janim", 3, records, error)) << error;
        EXPECT_EQ(encodeClip(records), encodeClip(keys));
        clip.assign(records);
        rig.playClip(clip);
    }
};

TEST(ClipPlayback, TweensLoopsHoldsBackAndFreezesWithoutAnimation) {
    // The end frame is that of the last keyframe in file order: 10. Only the
    // next keyframe in file order can start, on its exact frame, so the one
    // at frame 12 never does and holds back the one at frame 9.
    Flat f({{2, 0, 10, 1.0f}, {1, 12, 1, 1.0f}, {1, 9, 1, 0.5f}});
    EXPECT_EQ(std::tuple(f.clip.endFrame(), AnimationClip().endFrame()), std::tuple(10, 0));
    float angles[12];
    for (float& a : angles) {
        f.rig.pose(true);
        a = f.rig.bones[2].angle;
        EXPECT_EQ(f.rig.bones[1].angle, 0.0f);
    }
    EXPECT_EQ(std::tuple(angles[0], angles[1], angles[9], f.rig.clipFrame), std::tuple(0.0f, 0.1f, 0.9f, 2));
    // Wrapped within the tenth call: the keyframe restarts from where the
    // bone is, so the eleventh call holds and the twelfth creeps on.
    EXPECT_EQ(angles[10], 0.9f);
    EXPECT_NEAR(angles[11], 0.91f, 1e-6);
    // Without animation neither the clip nor the tweens move.
    Flat still({{1, 0, 4, 1.0f}});
    Bone& bone = still.rig.bones[1];
    bone.angle = 0.25f;
    for (int i = 0; i < 5; ++i) still.rig.pose(false);
    EXPECT_EQ(std::tuple(still.rig.clipFrame, bone.angle, bone.tweenFrame), std::tuple(0, 0.25f, 0));
    EXPECT_NE(bone.activeKeyframe, nullptr);
    bone.tweenFrame = 4;  // a tween already at its end is closed even so
    still.rig.pose(false);
    EXPECT_EQ(std::tuple(bone.activeKeyframe, bone.angle), std::tuple(nullptr, 0.25f));
}

const Bytes kTwoBoneRig =
    rigBytes(1, {BoneRecord{0, 1, 2, 2, 50, 50, 0, 0, {1}}, BoneRecord{0, 1, 2, 2, 4, 4, 0, 1, {}}});

// Loads the figure at gamePath with standard output captured into output.
std::unique_ptr<Character> load(const std::string& gamePath, std::string& output, SDL_Renderer* renderer = {}) {
    testing::internal::CaptureStdout();
    auto character = Character::load(renderer, gamePath);
    std::fflush(stdout);
    output = testing::internal::GetCapturedStdout();
    return character;
}

// A scratch figure under the build folder, reached by the game's relative
// backslash path "resources\<name>".
struct FigureDir {
    fs::path path;
    std::string gamePath;
    explicit FigureDir(const std::string& name) : path("resources/" + name), gamePath("resources\\" + name) {
        fs::create_directories(path);
    }
    ~FigureDir() { fs::remove_all(path); }
    void write(const std::string& file, const Bytes& bytes) const {
        std::ofstream out(path / file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    }
    void writeFigure(const Bytes& rig, const Bytes& idle, const Bytes& attack) const {
        write("body.jrig", rig), write("idle.janim", idle), write("attack.janim", attack);
    }
};

// Every refusal, through the loader: one line naming the file and the fault,
// before any limb image is tried. Each case replaces one file of a good
// figure; no bytes means the file is missing.
TEST(CharacterLoad, RefusesABrokenFigureWithOneLineNamingFileAndFault) {
    FigureDir dir("refusal-test");
    const BoneRecord leaf{};
    auto parentOf = [](std::vector<std::int32_t> c) { return BoneRecord{0, 1, 0, 0, 0, 0, 0, 0, std::move(c)}; };
    Bytes shortChildren = rigBytes(1, {parentOf({1, 2})});
    shortChildren.resize(8 + 30 + 4);  // only the first child index is there
    Bytes negativeChildren = rigBytes(1, {leaf});
    std::fill_n(negativeChildren.begin() + 8 + 24, 4, 0xff);  // childCount -1
    const std::string rig = "body.jrig", idle = "idle.janim", attack = "attack.janim";
    const struct {
        std::string file;
        std::optional<Bytes> bytes;
        std::string fault;
    } cases[] = {
        {rig, std::nullopt, "file is missing or cannot be read"},
        {rig, Bytes{1, 0, 0}, "file is 3 bytes, shorter than its 8-byte header"},
        {rig, rigBytes(1, {}), "boneCount 0 is below 1"},
        {rig, rigBytes(0, {leaf}), "limbCount 0 is outside 1 to 10"},
        {rig, rigBytes(11, {leaf}), "limbCount 11 is outside 1 to 10"},
        {rig, Bytes{0xff, 0xff, 0xff, 0x7f, 1, 0, 0, 0},
         "boneCount 2147483647 announces more bones than the 8-byte file holds"},
        {rig, Bytes(kTwoBoneRig.begin(), kTwoBoneRig.end() - 1), "file ends inside the record of bone 1"},
        {rig, shortChildren, "file ends inside the child indices of bone 0"},
        {rig, rigBytes(1, {parentOf(std::vector<std::int32_t>(17, 1)), leaf}),
         "bone 0 has childCount 17, outside 0 to 16"},
        {rig, negativeChildren, "bone 0 has childCount -1, outside 0 to 16"},
        {rig, rigBytes(1, {parentOf({1}), leaf, parentOf({3})}), "child index 3 of bone 2 names no bone"},
        {rig, rigBytes(1, {parentOf({-1})}), "child index -1 of bone 0 names no bone"},
        {rig, rigBytes(1, {parentOf({1}), parentOf({0})}), "bone 0, the root, is listed as a child of bone 1"},
        {rig, rigBytes(1, {parentOf({1, 1}), leaf}), "bone 1 is listed as a child twice (by bone 0 and bone 0)"},
        {rig, rigBytes(1, {parentOf({1}), leaf, parentOf({1})}),
         "bone 1 is listed as a child twice (by bone 0 and bone 2)"},
        {rig, rigBytes(1, {leaf, parentOf({2}), parentOf({3}), parentOf({1})}),
         "bone 1 is its own ancestor (the bones form a cycle)"},
        {idle, encodeClip({{1, 0, 1, 0}, {1, 1, 1, 0}, {1, 2, 1, 0}, {1, 3, 0, 0}}), "keyframe 3 has duration 0"},
        {attack, std::nullopt, "file is missing or cannot be read"},
        {attack, encodeClip({{0, 0, 4, 0}, {2, 0, 4, 0}}), "keyframe 1 turns bone 2, but the rig has 2 bones"},
        {attack, encodeClip({{-1, 0, 4, 0}}), "keyframe 0 turns bone -1, but the rig has 2 bones"},
        {attack, Bytes{}, "the attack clip holds no keyframe"},
        {attack, encodeClip({{1, -10, 4, 0}}), "end frame -6 of the last keyframe is outside 1 to 2147483647"},
        {attack, encodeClip({{1, 2147483647, 1, 0}}),
         "end frame 2147483648 of the last keyframe is outside 1 to 2147483647"},
    };
    for (const auto& c : cases) {
        dir.writeFigure(kTwoBoneRig, encodeClip({{1, 0, 4, 0.5f}}), encodeClip({{1, 0, 4, 0.5f}, {0, 2, 8, 0}}));
        if (c.bytes) dir.write(c.file, *c.bytes);
        else fs::remove(dir.path / c.file);
        std::string output;
        EXPECT_EQ(load(dir.gamePath, output), nullptr) << c.fault;
        const std::string kind = c.file == rig ? "Rig" : "Clip";
        EXPECT_EQ(output, kind + " loading error! : " + dir.gamePath + "\\" + c.file + ": " + c.fault + "\n");
    }
    std::string error;  // the clip's own loader, on a missing file
    EXPECT_FALSE(AnimationClip().load(dir.gamePath + "\\none.janim", 2, error));
}

// A two-bone character drawn once, then driven the way the game does: update,
// then pose. Root: limb 0 (red 20 x 20), pivot (10, 10) on (60, 60). Child:
// limbIndex 12 wraps to limb 2 (blue 10 x 40, pivot (5, 0)), hanging from the
// root's centre, turned a quarter clockwise so it points left along y 60, over
// the root (layer 1). Limbs 1, 3 and 4 have no image: reported, not fatal.
TEST(Character, DrawsWherePosedAndPlaysTheAttackForExactlyItsEndFrame) {
    FigureDir dir("character-test");
    const BoneRecord root{0, 1, 10, 10, 60, 60, 0, 0, {1}}, child{1.5707964f, 1, 5, 0, 10, 10, 12, 1, {}};
    // The attack's end frame E = 20 + 10 = 30.
    dir.writeFigure(rigBytes(5, {root, child}), encodeClip({{1, 0, 5, 0.5f}, {1, 5, 5, 0.0f}}),
                    encodeClip({{1, 0, 20, 2.0f}, {1, 20, 10, 0.0f}}));
    const testsupport::Rgb red{255, 0, 0}, blue{0, 0, 255}, black{0, 0, 0};
    testsupport::writeSolidSheet((dir.path / "limb0.bmp").string(), 1, 20, 20, 0, &red);
    testsupport::writeSolidSheet((dir.path / "limb2.bmp").string(), 1, 10, 40, 0, &blue);
    testsupport::Canvas canvas(200, 160);
    std::string output;
    const auto character = load(dir.gamePath, output, canvas.renderer);
    ASSERT_NE(character, nullptr) << output;
    EXPECT_EQ(output.rfind("Surface initialization error! : ", 0), 0u) << output;
    character->rig.render(canvas.renderer, true);
    // The root's uncovered corners, the child over the root and reaching left,
    // and nothing below or beyond: it was turned.
    const std::pair<int, int> spots[] = {{52, 52}, {67, 67}, {58, 60}, {24, 60}, {60, 90}, {15, 60}};
    const testsupport::Rgb expected[] = {red, red, blue, blue, black, black};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(canvas.pixel(spots[i].first, spots[i].second), expected[i]) << i;

    auto frame = [&](int starts) {
        character->updateAttack();
        for (int i = 0; i < starts; ++i) character->startAttack();
        character->rig.pose(true);
    };
    for (int i = 0; i < 7; ++i) frame(0);
    EXPECT_EQ(character->attackFramesLeft, 0);  // idle updates count nothing
    for (int i = 0; i < 30; ++i) {  // from attack frame 0, wrapping inside the 30th pose
        frame(i == 0);
        EXPECT_EQ(character->rig.currentClip, &character->attackClip) << i;
        EXPECT_EQ(character->rig.clipFrame, (i + 1) % 30) << i;
    }
    frame(0);
    // Idle again, its frame 0 posed.
    EXPECT_EQ(std::tuple(character->attackPlaying, character->rig.currentClip, character->rig.clipFrame),
              std::tuple(false, &character->idleClip, 1));
    for (int i = 0; i < 13; ++i) frame(i == 0);
    EXPECT_EQ(character->attackFramesLeft, 18);
    frame(2);  // a restart mid-attack; a special shot and a match in one update make one
    EXPECT_EQ(std::tuple(character->attackFramesLeft, character->rig.clipFrame, character->attackPlaying),
              std::tuple(30, 1, true));
}

// The shipped figures load, and each file comes back byte for byte through
// the rig tool's text form.
TEST(ShippedFigures, LoadAndSurviveTheTextRoundTrip) {
    const fs::path scratch = fs::temp_directory_path() / "amber-rigtool-roundtrip";
    fs::create_directories(scratch);
    for (const std::string figure : {"wendle", "debugman"}) {
        std::string output;
        ASSERT_NE(load("resources\\" + figure, output), nullptr) << output;
        for (const std::string file : {"body.jrig", "idle.janim", "attack.janim"}) {
            const std::string kind = file == "body.jrig" ? "rig" : "clip";
            const std::string original = "resources/" + figure + "/" + file;
            const std::string again = (scratch / (figure + "-" + file)).string();
            const std::string run = "./amber-rigtool dump-" + kind + " " + original + " > " + again + ".json && " +
                                    "./amber-rigtool compile-" + kind + " " + again + ".json " + again;
            ASSERT_EQ(std::system(run.c_str()), 0) << run;
            Bytes before, after;
            EXPECT_TRUE(platform::readBinaryFile(original, before) && platform::readBinaryFile(again, after));
            EXPECT_EQ(after, before) << original;
        }
    }
    fs::remove_all(scratch);
}

}  // namespace
