#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "figure_bytes.h"
#include "skeleton/character.h"

namespace {

namespace fs = std::filesystem;
using figure_bytes::BoneSpec;
using figure_bytes::clipBytes;
using figure_bytes::rigBytes;
using figure_bytes::writeFile;

// A scratch figure directory under the build folder, reached by the game's
// relative backslash path "resources\<name>".
struct FigureDir {
    std::string name;
    fs::path path;
    explicit FigureDir(const std::string& n) : name(n), path(fs::path("resources") / n) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~FigureDir() { fs::remove_all(path); }
    std::string gamePath() const { return "resources\\" + name; }
    void write(const std::string& file, const std::vector<std::uint8_t>& bytes) const {
        writeFile(path / file, bytes);
    }
};

// One-colour limb image of w x h saved as a 24-bit BMP.
void writeLimb(const fs::path& file, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    SDL_SaveBMP(s, file.string().c_str());
    SDL_FreeSurface(s);
}

std::vector<std::uint8_t> twoBoneRig() {
    return rigBytes(1, {BoneSpec{0, 1, 2, 2, 50, 50, 0, 0, {1}}, BoneSpec{0, 1, 2, 2, 4, 4, 0, 1, {}}});
}

struct Loaded {
    std::unique_ptr<Character> character;
    std::string output;
};

Loaded loadCapturing(const FigureDir& dir) {
    testing::internal::CaptureStdout();
    Loaded result;
    result.character = Character::load(nullptr, dir.gamePath());
    std::fflush(stdout);
    result.output = testing::internal::GetCapturedStdout();
    return result;
}

TEST(CharacterLoad, RefusesAFigureWithOneLineNamingFileAndFault) {
    FigureDir dir("refusal-test");
    const std::string base = dir.gamePath() + "\\";
    const std::string rigPrefix = "Rig loading error! : " + base + "body.jrig: ";
    const std::string clipPrefix = "Clip loading error! : " + base;
    auto goodIdle = clipBytes({{1, 0, 4, 0.5f}});
    auto goodAttack = clipBytes({{1, 0, 4, 0.5f}, {0, 2, 8, 0.1f}});

    struct Case {
        std::vector<std::uint8_t> rig, idle, attack;
        std::string line;
    };
    std::vector<std::uint8_t> broken = twoBoneRig();
    broken.resize(71);  // one byte short of bone 1's record
    const std::vector<Case> cases = {
        {broken, goodIdle, goodAttack, rigPrefix + "file ends inside the record of bone 1"},
        {rigBytes(1, {BoneSpec{0, 1, 0, 0, 0, 0, 0, 0, {1}}, BoneSpec{}, BoneSpec{0, 1, 0, 0, 0, 0, 0, 0, {9}}}),
         goodIdle, goodAttack, rigPrefix + "child index 9 of bone 2 names no bone"},
        {twoBoneRig(), clipBytes({{1, 0, 1, 0}, {1, 1, 1, 0}, {1, 2, 1, 0}, {1, 3, 0, 0}}), goodAttack,
         clipPrefix + "idle.janim: keyframe 3 has duration 0"},
        {twoBoneRig(), goodIdle, clipBytes({{2, 0, 4, 0}}),
         clipPrefix + "attack.janim: keyframe 0 turns bone 2, but the rig has 2 bones"},
        {twoBoneRig(), goodIdle, {}, clipPrefix + "attack.janim: the attack clip holds no keyframe"},
        {twoBoneRig(), goodIdle, clipBytes({{1, -3, 2, 0}}),
         clipPrefix + "attack.janim: end frame -1 of the last keyframe is outside 1 to 2147483647"},
    };
    for (const Case& c : cases) {
        dir.write("body.jrig", c.rig);
        dir.write("idle.janim", c.idle);
        dir.write("attack.janim", c.attack);
        Loaded loaded = loadCapturing(dir);
        EXPECT_EQ(loaded.character, nullptr);
        // One line only: the faulty figure is refused before any limb image is tried.
        EXPECT_EQ(loaded.output, c.line + "\n");
    }

    fs::remove(dir.path / "attack.janim");
    Loaded missing = loadCapturing(dir);
    EXPECT_EQ(missing.character, nullptr);
    EXPECT_EQ(missing.output, clipPrefix + "attack.janim: file is missing or cannot be read\n");
    Loaded nowhere = loadCapturing(FigureDir("no-such-figure"));
    EXPECT_EQ(nowhere.output, "Rig loading error! : resources\\no-such-figure\\body.jrig: file is missing or cannot be read\n");
}

TEST(CharacterLoad, MissingLimbImagesAreReportedButTheFigureLoads) {
    FigureDir dir("no-limbs-test");
    dir.write("body.jrig", twoBoneRig());
    dir.write("idle.janim", {});  // an empty idle clip is fine
    dir.write("attack.janim", clipBytes({{1, 0, 3, 1.0f}}));
    Loaded loaded = loadCapturing(dir);
    ASSERT_NE(loaded.character, nullptr);
    EXPECT_EQ(loaded.output.rfind("Surface initialization error! : ", 0), 0u) << loaded.output;
    EXPECT_EQ(loaded.character->rig.currentClip, &loaded.character->idleClip);
    EXPECT_FALSE(loaded.character->attackPlaying);
}

// Drives a loaded two-bone character the way the game does: update, then render.
struct Playback : testing::Test {
    std::unique_ptr<Character> character;
    void SetUp() override {
        FigureDir dir("playback-test");
        dir.write("body.jrig", twoBoneRig());
        dir.write("idle.janim", clipBytes({{1, 0, 5, 0.5f}, {1, 5, 5, 0.0f}}));
        // E = 20 + 10 = 30, the attack's length in frames.
        dir.write("attack.janim", clipBytes({{1, 0, 20, 2.0f}, {1, 20, 10, 0.0f}}));
        character = loadCapturing(dir).character;
        ASSERT_NE(character, nullptr);
    }
    void frame(bool attack = false) {
        character->updateAttack();
        if (attack) character->startAttack();
        character->rig.pose(true);
    }
};

TEST_F(Playback, AttackPlaysExactlyItsEndFrameThenIdleResumesAtFrameZero) {
    for (int i = 0; i < 7; ++i) frame();
    frame(true);
    EXPECT_EQ(character->attackFramesLeft, 30);
    EXPECT_EQ(character->rig.currentClip, &character->attackClip);
    EXPECT_EQ(character->rig.clipFrame, 1);  // attack frame 0 was rendered
    for (int i = 1; i < 30; ++i) {
        frame();
        EXPECT_EQ(character->rig.currentClip, &character->attackClip) << i;
    }
    EXPECT_EQ(character->rig.clipFrame, 0);  // wrapped inside the 30th rendering
    EXPECT_EQ(character->attackFramesLeft, 1);
    frame();
    EXPECT_FALSE(character->attackPlaying);
    EXPECT_EQ(character->attackFramesLeft, 0);
    EXPECT_EQ(character->rig.currentClip, &character->idleClip);
    EXPECT_EQ(character->rig.clipFrame, 1);  // idle frame 0 was rendered
    frame();
    EXPECT_EQ(character->rig.clipFrame, 2);
}

TEST_F(Playback, RestartDuringAnAttackGivesAFullCount) {
    frame(true);
    for (int i = 0; i < 12; ++i) frame();
    EXPECT_EQ(character->attackFramesLeft, 18);
    // Two starts in one update (a special shot and a match) leave one attack.
    character->updateAttack();
    character->startAttack();
    character->startAttack();
    character->rig.pose(true);
    EXPECT_EQ(character->attackFramesLeft, 30);
    EXPECT_EQ(character->rig.clipFrame, 1);
    EXPECT_TRUE(character->attackPlaying);
}

// Renders on a software surface and reads pixels back.
struct SoftwareCanvas {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 200, 160, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    ~SoftwareCanvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    Uint32 at(int x, int y) const { return static_cast<const Uint32*>(surface->pixels)[y * surface->w + x] & 0xffffff; }
};

TEST(CharacterRender, LimbsLandWhereThePoseSaysInLayerOrder) {
    FigureDir dir("render-test");
    // Root: limb 0 (red 20 x 20), pivot (10, 10) on (60, 60). Child: limbIndex
    // 12 wraps to limb 2 (blue 10 x 40, pivot (5, 0)), hanging from the root's
    // centre, turned a quarter clockwise so it points left along y 60, over
    // the root (layer 1). Limbs 1, 3, 4 (green) must never show.
    const float quarter = 1.5707964f;
    dir.write("body.jrig", rigBytes(5, {BoneSpec{0, 1, 10, 10, 60, 60, 0, 0, {1}},
                                        BoneSpec{quarter, 1, 5, 0, 10, 10, 12, 1, {}}}));
    dir.write("idle.janim", {});
    dir.write("attack.janim", clipBytes({{0, 0, 1, 0}}));
    writeLimb(dir.path / "limb0.bmp", 20, 20, 255, 0, 0);
    writeLimb(dir.path / "limb2.bmp", 10, 40, 0, 0, 255);
    for (const char* other : {"limb1.bmp", "limb3.bmp", "limb4.bmp"}) writeLimb(dir.path / other, 8, 8, 0, 255, 0);

    SoftwareCanvas canvas;
    auto character = Character::load(canvas.renderer, dir.gamePath());
    ASSERT_NE(character, nullptr);
    SDL_SetRenderDrawColor(canvas.renderer, 0, 0, 0, 255);
    SDL_RenderClear(canvas.renderer);
    character->rig.render(canvas.renderer, true);

    EXPECT_EQ(canvas.at(52, 52), 0xff0000u);  // root, uncovered corners
    EXPECT_EQ(canvas.at(67, 67), 0xff0000u);
    EXPECT_EQ(canvas.at(66, 60), 0xff0000u);
    EXPECT_EQ(canvas.at(58, 60), 0x0000ffu);  // child over the root
    EXPECT_EQ(canvas.at(30, 60), 0x0000ffu);  // child reaching left
    EXPECT_EQ(canvas.at(24, 60), 0x0000ffu);
    EXPECT_EQ(canvas.at(60, 90), 0x000000u);  // not hanging down: it was turned
    EXPECT_EQ(canvas.at(15, 60), 0x000000u);
    for (int y = 0; y < canvas.surface->h; ++y)
        for (int x = 0; x < canvas.surface->w; ++x) ASSERT_NE(canvas.at(x, y), 0x00ff00u) << x << "," << y;
}

std::vector<char> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedFigures, LoadAndSurviveTheTextRoundTrip) {
    const fs::path tool = fs::absolute("amber-rigtool");
    ASSERT_TRUE(fs::exists(tool)) << tool;
    const fs::path scratch = fs::temp_directory_path() / "amber-rigtool-roundtrip";
    fs::create_directories(scratch);
    for (const char* figure : {"wendle", "debugman"}) {
        testing::internal::CaptureStdout();
        auto character = Character::load(nullptr, std::string("resources\\") + figure);
        std::string output = testing::internal::GetCapturedStdout();
        ASSERT_NE(character, nullptr) << output;
        EXPECT_GE(character->attackClip.endFrame(), 1);

        const fs::path dir = fs::path("resources") / figure;
        const std::pair<const char*, const char*> files[] = {
            {"body.jrig", "rig"}, {"idle.janim", "clip"}, {"attack.janim", "clip"}};
        for (const auto& [file, kind] : files) {
            const fs::path text = scratch / (std::string(figure) + "-" + file + ".json");
            const fs::path again = scratch / (std::string(figure) + "-" + file);
            std::string dump = tool.string() + " dump-" + kind + " " + (dir / file).string() + " > " + text.string();
            std::string compile =
                tool.string() + " compile-" + kind + " " + text.string() + " " + again.string();
            ASSERT_EQ(std::system(dump.c_str()), 0) << dump;
            ASSERT_EQ(std::system(compile.c_str()), 0) << compile;
            EXPECT_EQ(fileBytes(again), fileBytes(dir / file)) << figure << " " << file;
        }
    }
    fs::remove_all(scratch);
}

}  // namespace
