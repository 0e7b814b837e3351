// The figures: their rig and clip files byte for byte, posing, clip playback,
// and whole characters loaded, refused, played and drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
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

using Bytes = std::vector<std::uint8_t>;

// Figure files come from the game's own encoders; the refusal cases below pin
// the layout (header, record, child indices) and the byte reader its fields.
// Bones are {angle, scale, pivotX, pivotY, offsetX, offsetY, limb, layer, children}.
Bytes rigBytes(std::vector<BoneRecord> bones, int limbs = 1) { return encodeRig({limbs, std::move(bones)}); }
// The bytes with tail appended; cut drops everything from size on first.
Bytes joined(Bytes bytes, const Bytes& tail) { return bytes.insert(bytes.end(), tail.begin(), tail.end()), bytes; }
Bytes cut(Bytes b, std::size_t size, const Bytes& tail = {}) { return b.resize(size), joined(b, tail); }

// Parses and checks the bytes followed by stray `tail` bytes, which the
// encoder drops.
Rig build(const Bytes& bytes, const Bytes& tail = {}) {
    RigFile file;
    std::string error;
    EXPECT_TRUE(parseRig(joined(bytes, tail), "rig", file, error) && checkRig(file, "rig", error)) << error;
    EXPECT_EQ(encodeRig(file), bytes);
    Rig rig;
    rig.build(file);
    return rig;
}

TEST(RigFile, FieldsReadInFullOrNotAtAllAndOddButValidFilesLoad) {
    // The last four bytes read; three are left untouched.
    const std::uint8_t bytes[] = {0xfe, 0xff, 0xff, 0x3f};
    std::int32_t i = 0;
    float f = 0;
    ByteReader whole{bytes}, again{bytes}, shorter{std::span(bytes, 3)};
    EXPECT_TRUE(whole.readInt32(i) && again.readFloat32(f) && !shorter.readInt32(i) && !shorter.readFloat32(f));
    EXPECT_EQ(std::tuple(i, f, whole.position, again.position, shorter.position),
              std::tuple(0x3ffffffe, std::bit_cast<float>(0x3ffffffe), 4u, 4u, 0u));
    // The root, a child recorded before its parent (bone 2), and a bone nobody
    // lists with a NaN angle; the most limbs allowed, negative values, a limb
    // index past limbCount, and trailing bytes.
    Rig rig = build(rigBytes({{0.5f, 1, 10, 20, 128, 100, 0, 3, {2}},
                              {-0.25f, -2.5f, -3, -4, -50, -60, 12, 255, {}}, {0, 1, 0, 0, 0, 0, 0, 0, {1}},
                              {NAN, 1, 0, 0, 0, 0, 0, 0, {}}}, 10), {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(std::tuple(rig.boneCount, rig.limbCount, rig.root), std::tuple(4, 10, &rig.bones[0]));
    const Bone* const bone = rig.root;
    EXPECT_EQ(std::tuple(bone[0].parent, bone[1].parent, bone[2].parent, bone[3].parent, bone[0].childCount,
                         bone[0].children[0], bone[2].children[0], std::isnan(bone[3].angle)),
              std::tuple(nullptr, &bone[2], &bone[0], nullptr, 1, &bone[2], &bone[1], true));
    const Bone& b = bone[1];
    EXPECT_EQ(std::tuple(b.angle, b.fromAngle, b.scale, b.pivotX, b.pivotY, b.offsetX, b.offsetY, b.limbIndex,
                         b.layer), std::tuple(-0.25f, -0.25f, -2.5f, -3, -4, -50, -60, 12, 255));
}

TEST(Pose, PlacesLimbsAndChildrenInSinglePrecisionInt32AndLayerOrder) {
    auto posed = [](const std::vector<BoneRecord>& b) { Rig r = build(rigBytes(b)); r.pose(true); return r; };
    Rig rig = posed({{0, 1, 10, 20, 128, 100, 0, 0, {}}});
    const auto [d, c, degrees] = placeLimb(*rig.root, 40, 60);
    EXPECT_EQ(std::tuple(d.x, d.y, d.w, d.h, c.x, c.y, degrees), std::tuple(118, 80, 40, 60, 10, 20, 0.0));
    // A quarter turn puts the child at (100, 106); 99 across if the first sum
    // were kept in double.
    rig = posed({{1.5707964f, 1, 4, 6, 100, 100, 0, 0, {1}}, {0, 1, 0, 0, 10, 6, 0, 0, {}}});
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(100, 106));
    rig = posed({{0, 0.7f, 15, 7, 0, 0, 0, 0, {1}}, {0, 1, 0, 0, 15, 17, 0, 0, {}}});
    // Pivot (10, 4); the attachment 10 pixels below it in the image is 7 on screen.
    EXPECT_EQ(std::tuple(rig.root->scaledPivotX, rig.root->scaledPivotY), std::tuple(10, 4));
    EXPECT_EQ(std::tuple(rig.bones[1].screenX, rig.bones[1].screenY), std::tuple(0, 7));
    // A swollen or hostile figure sticks at the ends of int32; NaN gives 0.
    for (auto [value, truncated] : {std::pair{-1.9f, -1}, {2147483648.0f, INT32_MAX}, {1e30f, INT32_MAX},
                                    {-2147483648.0f, INT32_MIN}, {-1e30f, INT32_MIN}, {NAN, 0}})
        EXPECT_EQ(truncateToInt32(value), truncated) << value;
    // Root (layer 5) poses first, then 1 (layer 5), 3 (layer 0), 2 (layer 255);
    // bone 4 is listed by no one.
    rig = posed({{0, 1, 0, 0, 0, 0, 0, 5, {1, 2}}, {0, 1, 0, 0, 0, 0, 0, 5, {3}},
                 {0, 1, 0, 0, 0, 0, 0, 255, {}}, {}, {}});
    rig.pose(true);  // the list is rebuilt by each pose, not appended to
    EXPECT_EQ(rig.drawList, (std::vector<Bone*>{&rig.bones[3], &rig.bones[1], &rig.bones[0], &rig.bones[2]}));
}

// A flat three-bone rig, both children of the root, angles 0, playing a clip
// parsed from its bytes plus 8 stray bytes that make no record.
struct Flat {
    Rig rig = build(rigBytes({{0, 1, 0, 0, 0, 0, 0, 0, {1, 2}}, {}, {}}));
    AnimationClip clip;
    explicit Flat(const std::vector<Keyframe>& keys) {
        std::vector<Keyframe> back;
        std::string error;
        EXPECT_TRUE(parseClip(joined(encodeClip(keys), Bytes(8, 0xAB)), "attack.janim", 3, back, error)) << error;
        EXPECT_EQ(encodeClip(back), encodeClip(keys));
        clip.assign(back);
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
    for (float& a : angles) a = (f.rig.pose(true), f.rig.bones[2].angle);
    // Wrapped within the tenth call: the keyframe restarts from where the
    // bone is, so the eleventh call holds and the twelfth creeps on. Bone 1
    // never moved.
    EXPECT_EQ(std::tuple(angles[0], angles[1], angles[9], angles[10], f.rig.clipFrame, f.rig.bones[1].angle),
              std::tuple(0.0f, 0.1f, 0.9f, 0.9f, 2, 0.0f));
    EXPECT_NEAR(angles[11], 0.91f, 1e-6);
    // Without animation neither the clip nor the tweens move.
    Flat still({{1, 0, 4, 1.0f}});
    Bone& bone = still.rig.bones[1];
    bone.angle = 0.25f;
    for (int i = 0; i < 5; ++i) still.rig.pose(false);
    EXPECT_EQ(std::tuple(still.rig.clipFrame, bone.angle, bone.tweenFrame, !bone.activeKeyframe),
              std::tuple(0, 0.25f, 0, false));
    bone.tweenFrame = 4;  // a tween already at its end is closed even so
    still.rig.pose(false);
    EXPECT_EQ(std::tuple(bone.activeKeyframe, bone.angle), std::tuple(nullptr, 0.25f));
}

const Bytes kTwoBoneRig = rigBytes({{0, 1, 2, 2, 50, 50, 0, 0, {1}}, {0, 1, 2, 2, 4, 4, 0, 1, {}}});

// Loads the figure at gamePath, with what it wrote to standard output.
std::pair<std::unique_ptr<Character>, std::string> load(const std::string& gamePath, SDL_Renderer* renderer = {}) {
    testing::internal::CaptureStdout();
    return {Character::load(renderer, gamePath), testing::internal::GetCapturedStdout()};  // left to right
}

// A scratch figure under the build folder, reached by the game's relative
// backslash path "resources\<name>".
struct FigureDir {
    std::filesystem::path path;
    std::string gamePath;
    FigureDir(const std::string& name, const Bytes& rig, const Bytes& idle, const Bytes& attack)
        : path("resources/" + name), gamePath("resources\\" + name) {
        std::filesystem::create_directories(path);
        write("body.jrig", rig), write("idle.janim", idle), write("attack.janim", attack);
    }
    ~FigureDir() { std::filesystem::remove_all(path); }
    void write(const std::string& file, const Bytes& bytes) const {
        std::ofstream(path / file, std::ios::binary) << std::string(bytes.begin(), bytes.end());
    }
};

// Broken figures: each case replaces one file of a good figure with the bytes
// (none: the file is missing), and names the fault the loader reports.
const BoneRecord leaf{};
BoneRecord parent(std::vector<std::int32_t> c) { return BoneRecord{0, 1, 0, 0, 0, 0, 0, 0, std::move(c)}; }
const std::string body = "body.jrig", idle = "idle.janim", attack = "attack.janim";
const std::tuple<std::string, std::optional<Bytes>, std::string> kRefusals[] = {
    {body, std::nullopt, "file is missing or cannot be read"},
    {body, Bytes{1, 0, 0}, "file is 3 bytes, shorter than its 8-byte header"},
    {body, rigBytes({}), "boneCount 0 is below 1"},
    {body, rigBytes({leaf}, 0), "limbCount 0 is outside 1 to 10"},
    {body, rigBytes({leaf}, 11), "limbCount 11 is outside 1 to 10"},
    {body, Bytes{0xff, 0xff, 0xff, 0x7f, 1, 0, 0, 0},
     "boneCount 2147483647 announces more bones than the 8-byte file holds"},
    {body, cut(kTwoBoneRig, kTwoBoneRig.size() - 1), "file ends inside the record of bone 1"},
    // Only the first child index is there.
    {body, cut(rigBytes({parent({1, 2})}), 8 + 30 + 4), "file ends inside the child indices of bone 0"},
    {body, rigBytes({parent(std::vector(17, 1)), leaf}), "bone 0 has childCount 17, outside 0 to 16"},
    // childCount -1 after the six fixed fields, then limb and layer.
    {body, cut(rigBytes({leaf}), 8 + 24, {255, 255, 255, 255, 0, 0}), "bone 0 has childCount -1, outside 0 to 16"},
    {body, rigBytes({parent({1}), leaf, parent({3})}), "child index 3 of bone 2 names no bone"},
    {body, rigBytes({parent({-1})}), "child index -1 of bone 0 names no bone"},
    {body, rigBytes({parent({1}), parent({0})}), "bone 0, the root, is listed as a child of bone 1"},
    {body, rigBytes({parent({1, 1}), leaf}), "bone 1 is listed as a child twice (by bone 0 and bone 0)"},
    {body, rigBytes({parent({1}), {}, parent({1})}), "bone 1 is listed as a child twice (by bone 0 and bone 2)"},
    {body, rigBytes({leaf, parent({2}), parent({3}), parent({1})}),
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

// Every refusal, through the loader: one line naming the file and the fault,
// before any limb image is tried.
TEST(CharacterLoad, RefusesABrokenFigureWithOneLineNamingFileAndFault) {
    for (const auto& [file, bytes, fault] : kRefusals) {
        FigureDir dir("broken", kTwoBoneRig, encodeClip({{1, 0, 4, 0}}), encodeClip({{1, 0, 4, 0}, {0, 2, 8, 0}}));
        if (bytes) dir.write(file, *bytes);
        else std::filesystem::remove(dir.path / file);
        const auto [character, output] = load(dir.gamePath);
        EXPECT_EQ(character, nullptr) << fault;
        const std::string kind = file == body ? "Rig" : "Clip";
        EXPECT_EQ(output, kind + " loading error! : " + dir.gamePath + "\\" + file + ": " + fault + "\n");
    }
    std::string error;  // the clip's own loader, on a missing file
    EXPECT_FALSE(AnimationClip().load("resources\\none.janim", 2, error));
}

// A two-bone character drawn once, then driven the way the game does: update,
// then pose. Root: limb 0 (red 20 x 20), pivot (10, 10) on (60, 60). Child:
// limbIndex 12 wraps to limb 2 (blue 10 x 40, pivot (5, 0)), hanging from the
// root's centre, turned a quarter clockwise so it points left along y 60, over
// the root (layer 1). Limbs 1, 3 and 4 have no image: reported, not fatal.
TEST(Character, DrawsWherePosedAndPlaysTheAttackForExactlyItsEndFrame) {
    // The attack's end frame E = 20 + 10 = 30.
    FigureDir dir("character-test",
                  rigBytes({{0, 1, 10, 10, 60, 60, 0, 0, {1}}, {1.5707964f, 1, 5, 0, 10, 10, 12, 1, {}}}, 5),
                  encodeClip({{1, 0, 5, 0.5f}, {1, 5, 5, 0}}), encodeClip({{1, 0, 20, 2.0f}, {1, 20, 10, 0}}));
    const testsupport::Rgb red{255, 0, 0}, blue{0, 0, 255}, black{0, 0, 0};
    testsupport::writeSolidSheet((dir.path / "limb0.bmp").string(), 1, 20, 20, 0, &red);
    testsupport::writeSolidSheet((dir.path / "limb2.bmp").string(), 1, 10, 40, 0, &blue);
    testsupport::Canvas canvas(200, 160);
    const auto [character, output] = load(dir.gamePath, canvas.renderer);
    ASSERT_NE(character, nullptr) << output;
    EXPECT_EQ(output.rfind("Surface initialization error! : ", 0), 0u) << output;
    Character& c = *character;
    c.rig.render(canvas.renderer, true);
    // The root's uncovered corners, the child over the root and reaching left,
    // and nothing below or beyond: it was turned.
    EXPECT_EQ(std::tuple(canvas.pixel(52, 52), canvas.pixel(67, 67), canvas.pixel(58, 60), canvas.pixel(24, 60)),
              std::tuple(red, red, blue, blue));
    EXPECT_EQ(std::pair(canvas.pixel(60, 90), canvas.pixel(15, 60)), std::pair(black, black));

    // One frame: the update, n attack starts, then the pose.
    auto frame = [&](int n) { for (c.updateAttack(); n > 0; --n) c.startAttack(); c.rig.pose(true); };
    for (int i = 0; i < 7; ++i) frame(0);
    EXPECT_EQ(c.attackFramesLeft, 0);  // idle updates count nothing
    for (int i = 0; i < 30; ++i) {  // from attack frame 0, wrapping inside the 30th pose
        frame(i == 0);
        EXPECT_EQ(std::tuple(c.rig.currentClip, c.rig.clipFrame), std::tuple(&c.attackClip, (i + 1) % 30)) << i;
    }
    frame(0);
    // Idle again, its frame 0 posed.
    EXPECT_EQ(std::tuple(c.attackPlaying, c.rig.currentClip, c.rig.clipFrame), std::tuple(false, &c.idleClip, 1));
    for (int i = 0; i < 13; ++i) frame(i == 0);
    EXPECT_EQ(c.attackFramesLeft, 18);
    frame(2);  // a restart mid-attack; a special shot and a match in one update make one
    EXPECT_EQ(std::tuple(c.attackFramesLeft, c.rig.clipFrame, c.attackPlaying), std::tuple(30, 1, true));
}

// The shipped figures load, and each file comes back byte for byte through
// the rig tool's text form.
TEST(ShippedFigures, LoadAndSurviveTheTextRoundTrip) {
    testsupport::TempDir scratch;
    auto read = [](const std::string& path) { Bytes b; EXPECT_TRUE(platform::readBinaryFile(path, b)); return b; };
    for (const std::string figure : {"wendle", "debugman"}) {
        const auto [character, output] = load("resources\\" + figure);
        ASSERT_NE(character, nullptr) << output;
        for (const std::string file : {"body.jrig", "idle.janim", "attack.janim"}) {
            const std::string kind = file == "body.jrig" ? "rig" : "clip";
            const std::string original = "resources/" + figure + "/" + file;
            const std::string again = scratch.file(figure + "-" + file);
            const std::string run = "./amber-rigtool dump-" + kind + " " + original + " > " + again + ".json && " +
                                    "./amber-rigtool compile-" + kind + " " + again + ".json " + again;
            ASSERT_EQ(std::system(run.c_str()), 0) << run;
            EXPECT_EQ(read(again), read(original)) << original;
        }
    }
}

}  // namespace
