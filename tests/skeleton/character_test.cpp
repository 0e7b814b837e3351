#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "figure_bytes.h"
#include "skeleton/character.h"

namespace {

namespace fs = std::filesystem;
using namespace figure_bytes;

const Bytes kTwoBoneRig =
    rigBytes(1, {BoneRecord{0, 1, 2, 2, 50, 50, 0, 0, {1}}, BoneRecord{0, 1, 2, 2, 4, 4, 0, 1, {}}});

// A scratch figure under the build folder, reached by the game's relative
// backslash path "resources\<name>", and loaded with standard output captured.
struct FigureDir {
    fs::path path;
    explicit FigureDir(const std::string& name) : path(fs::path("resources") / name) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~FigureDir() { fs::remove_all(path); }
    std::string gamePath() const { return "resources\\" + path.filename().string(); }
    void write(const std::string& file, const Bytes& bytes) const {
        std::ofstream out(path / file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    }
    void writeFigure(const Bytes& rig, const Bytes& idle, const Bytes& attack) const {
        write("body.jrig", rig), write("idle.janim", idle), write("attack.janim", attack);
    }
    std::unique_ptr<Character> load(std::string& output, SDL_Renderer* renderer = nullptr) const {
        testing::internal::CaptureStdout();
        auto character = Character::load(renderer, gamePath());
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
        return character;
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
        {rig, rigBytes(1, {parentOf({1}), leaf, parentOf({9})}), "child index 9 of bone 2 names no bone"},
        {rig, rigBytes(1, {parentOf({-1})}), "child index -1 of bone 0 names no bone"},
        {rig, rigBytes(1, {parentOf({1}), parentOf({0})}), "bone 0, the root, is listed as a child of bone 1"},
        {rig, rigBytes(1, {parentOf({1, 1}), leaf}), "bone 1 is listed as a child twice (by bone 0 and bone 0)"},
        {rig, rigBytes(1, {parentOf({1}), leaf, parentOf({1})}),
         "bone 1 is listed as a child twice (by bone 0 and bone 2)"},
        {rig, rigBytes(1, {leaf, parentOf({2}), parentOf({3}), parentOf({1})}),
         "bone 1 is its own ancestor (the bones form a cycle)"},
        {idle, clipBytes({{1, 0, 1, 0}, {1, 1, 1, 0}, {1, 2, 1, 0}, {1, 3, 0, 0}}), "keyframe 3 has duration 0"},
        {idle, clipBytes({{0, 0, -5, 0}}), "keyframe 0 has duration -5"},
        {attack, std::nullopt, "file is missing or cannot be read"},
        {attack, clipBytes({{0, 0, 4, 0}, {2, 0, 4, 0}}), "keyframe 1 turns bone 2, but the rig has 2 bones"},
        {attack, clipBytes({{-1, 0, 4, 0}}), "keyframe 0 turns bone -1, but the rig has 2 bones"},
        {attack, Bytes{}, "the attack clip holds no keyframe"},
        {attack, clipBytes({{1, -10, 4, 0}}), "end frame -6 of the last keyframe is outside 1 to 2147483647"},
        {attack, clipBytes({{1, 2147483647, 1, 0}}),
         "end frame 2147483648 of the last keyframe is outside 1 to 2147483647"},
    };
    for (const auto& c : cases) {
        dir.writeFigure(kTwoBoneRig, clipBytes({{1, 0, 4, 0.5f}}), clipBytes({{1, 0, 4, 0.5f}, {0, 2, 8, 0.1f}}));
        if (c.bytes) dir.write(c.file, *c.bytes);
        else fs::remove(dir.path / c.file);
        std::string output;
        EXPECT_EQ(dir.load(output), nullptr) << c.fault;
        EXPECT_EQ(output, (c.file == rig ? "Rig" : "Clip") + std::string(" loading error! : ") + dir.gamePath() + "\\" +
                              c.file + ": " + c.fault + "\n");
    }
}

// Drives a two-bone character without limb images the way the game does:
// update, then render.
TEST(CharacterPlayback, AttackPlaysExactlyItsEndFrameThenIdleAndRestartsInFull) {
    FigureDir dir("playback-test");
    // The attack's end frame E = 20 + 10 = 30.
    dir.writeFigure(kTwoBoneRig, clipBytes({{1, 0, 5, 0.5f}, {1, 5, 5, 0.0f}}),
                    clipBytes({{1, 0, 20, 2.0f}, {1, 20, 10, 0.0f}}));
    std::string output;
    const auto character = dir.load(output);
    ASSERT_NE(character, nullptr) << output;
    EXPECT_EQ(output.rfind("Surface initialization error! : ", 0), 0u) << output;  // reported, not fatal
    auto frame = [&](int starts) {
        character->updateAttack();
        for (int i = 0; i < starts; ++i) character->startAttack();
        character->rig.pose(true);
    };
    for (int i = 0; i < 7; ++i) frame(0);
    for (int i = 0; i < 30; ++i) {  // from attack frame 0, wrapping inside the 30th rendering
        frame(i == 0);
        EXPECT_EQ(character->rig.currentClip, &character->attackClip) << i;
        EXPECT_EQ(character->rig.clipFrame, (i + 1) % 30) << i;
    }
    frame(0);
    EXPECT_FALSE(character->attackPlaying);
    EXPECT_EQ(character->rig.currentClip, &character->idleClip);
    EXPECT_EQ(character->rig.clipFrame, 1);  // idle frame 0 was rendered

    for (int i = 0; i < 13; ++i) frame(i == 0);
    EXPECT_EQ(character->attackFramesLeft, 18);
    frame(2);  // a restart mid-attack; a special shot and a match in one update make one
    EXPECT_EQ(character->attackFramesLeft, 30);
    EXPECT_EQ(character->rig.clipFrame, 1);
    EXPECT_TRUE(character->attackPlaying);
}

// One-colour limb image of w x h saved as a 24-bit BMP.
void writeLimb(const fs::path& file, int w, int h, Uint32 rgb) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, Uint8(rgb >> 16), Uint8(rgb >> 8), Uint8(rgb)));
    SDL_SaveBMP(s, file.string().c_str());
    SDL_FreeSurface(s);
}

TEST(CharacterRender, LimbsLandWhereThePoseSaysInLayerOrder) {
    FigureDir dir("render-test");
    // Root: limb 0 (red 20 x 20), pivot (10, 10) on (60, 60). Child: limbIndex
    // 12 wraps to limb 2 (blue 10 x 40, pivot (5, 0)), hanging from the root's
    // centre, turned a quarter clockwise so it points left along y 60, over
    // the root (layer 1). Limbs 1, 3 and 4 have no image.
    const BoneRecord root{0, 1, 10, 10, 60, 60, 0, 0, {1}}, child{1.5707964f, 1, 5, 0, 10, 10, 12, 1, {}};
    dir.writeFigure(rigBytes(5, {root, child}), {}, clipBytes({{0, 0, 1, 0}}));
    writeLimb(dir.path / "limb0.bmp", 20, 20, 0xff0000);
    writeLimb(dir.path / "limb2.bmp", 10, 40, 0x0000ff);

    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 200, 160, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    std::string output;
    auto character = dir.load(output, renderer);
    ASSERT_NE(character, nullptr) << output;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    character->rig.render(renderer, true);
    auto at = [&](int x, int y) { return static_cast<const Uint32*>(surface->pixels)[y * surface->w + x] & 0xffffff; };
    EXPECT_EQ(at(52, 52), 0xff0000u);  // root, uncovered corners
    EXPECT_EQ(at(67, 67), 0xff0000u);
    EXPECT_EQ(at(58, 60), 0x0000ffu);  // child over the root
    EXPECT_EQ(at(24, 60), 0x0000ffu);  // child reaching left
    EXPECT_EQ(at(60, 90), 0x000000u);  // not hanging down: it was turned
    EXPECT_EQ(at(15, 60), 0x000000u);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

Bytes fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedFigures, LoadAndSurviveTheTextRoundTrip) {
    const std::string tool = fs::absolute("amber-rigtool").string();
    const fs::path scratch = fs::temp_directory_path() / "amber-rigtool-roundtrip";
    fs::create_directories(scratch);
    for (const std::string figure : {"wendle", "debugman"}) {
        testing::internal::CaptureStdout();
        auto character = Character::load(nullptr, "resources\\" + figure);
        const std::string output = testing::internal::GetCapturedStdout();
        ASSERT_NE(character, nullptr) << output;
        for (const std::string file : {"body.jrig", "idle.janim", "attack.janim"}) {
            const std::string kind = file == "body.jrig" ? "rig" : "clip";
            const fs::path original = fs::path("resources") / figure / file, again = scratch / (figure + "-" + file);
            const std::string text = again.string() + ".json";
            const std::string dump = tool + " dump-" + kind + " " + original.string() + " > " + text;
            const std::string compile = tool + " compile-" + kind + " " + text + " " + again.string();
            ASSERT_EQ(std::system(dump.c_str()), 0) << dump;
            ASSERT_EQ(std::system(compile.c_str()), 0) << compile;
            EXPECT_EQ(fileBytes(again), fileBytes(original)) << figure << " " << file;
        }
    }
    fs::remove_all(scratch);
}

}  // namespace
