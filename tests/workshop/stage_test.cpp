// The workshop shows what the game shows: its stage is drawn pixel for pixel
// as the game draws the same figure, clip and frame, and the files it builds
// are the bytes amber-rigtool build-figure made for the game.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "figure_document.h"
#include "stage.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::TempDir;

const std::string kFigures = AMBER_FIGURES_DIR;
const std::string kBuild = AMBER_BUILD_DIR;

std::vector<char> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int differingPixels(const Canvas& a, const Canvas& b) {
    const auto* pa = static_cast<const std::uint32_t*>(a.surface->pixels);
    const auto* pb = static_cast<const std::uint32_t*>(b.surface->pixels);
    int differing = 0;
    for (int i = 0; i < a.surface->w * a.surface->h; ++i) differing += pa[i] != pb[i];
    return differing;
}

// The game's own way: the figure the build made loaded from resources/, placed
// as the game places it, the clip begun, then one cleared and drawn frame per
// frame played, the last one kept.
void drawAsTheGame(Canvas& canvas, const std::string& name, const FigurePlace& place, bool attack, int frames) {
    testsupport::WorkingDirectory inBuild(kBuild);
    auto figure = Character::load(canvas.renderer, resourcePath(name));
    ASSERT_NE(figure, nullptr);
    placeFigure(figure->rig, place);
    if (attack) figure->startAttack();
    for (int frame = 0; frame <= frames; ++frame) {
        SDL_SetRenderDrawColor(canvas.renderer, kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 0);
        SDL_RenderClear(canvas.renderer);
        figure->rig.render(canvas.renderer, true);
    }
}

struct StageCase {
    const char* label;
    const char* figure;
    FigurePlace place;  // where the game shows it
    StageClip clip;
    int frame;
};

const StageCase kStageCases[] = {
    {"wendle idle, first frame", "wendle", kPlayerPlace, StageClip::idle, 0},
    {"wendle idle, mid-tween", "wendle", kPlayerPlace, StageClip::idle, 37},
    {"wendle attack", "wendle", kPlayerPlace, StageClip::attack, 12},
    {"debugman idle", "debugman", kBackgroundPlace, StageClip::idle, 50},
    {"debugman attack, last frame", "debugman", kBackgroundPlace, StageClip::attack, 27},
};

TEST(WorkshopStage, DrawsEachFrameAsTheGameDoes) {
    for (const StageCase& c : kStageCases) {
        SCOPED_TRACE(c.label);
        FigureDocument document;
        std::string error;
        ASSERT_TRUE(document.open(kFigures + "/" + c.figure + ".json", error)) << error;
        TempDir built;
        ASSERT_TRUE(document.writeGameFiles(built.path / c.figure, error)) << error;
        Canvas game(640, 480), workshop(640, 480);
        drawAsTheGame(game, c.figure, c.place, c.clip == StageClip::attack, c.frame);
        Stage stage;
        ASSERT_TRUE(stage.load(workshop.renderer, (built.path / c.figure).string(), placeOfFigure(document.source),
                               error)) << error;
        stage.poseFrame(c.clip, c.frame);
        stage.draw(workshop.renderer);
        EXPECT_EQ(differingPixels(game, workshop), 0);
        // Not two empty pictures: the figure covers thousands of pixels.
        EXPECT_LT(workshop.count({kBackgroundGrey, kBackgroundGrey, kBackgroundGrey}), 640 * 480 - 2000);
    }
}

TEST(WorkshopDocument, BuildsTheBytesTheGameShipsWith) {
    for (const char* figure : {"wendle", "debugman"}) {
        SCOPED_TRACE(figure);
        FigureDocument document;
        std::string error;
        ASSERT_TRUE(document.open(kFigures + "/" + figure + ".json", error)) << error;
        TempDir built;
        ASSERT_TRUE(document.writeGameFiles(built.path, error)) << error;
        const std::filesystem::path shipped = std::filesystem::path(kBuild) / "resources" / figure;
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(shipped)) {
            SCOPED_TRACE(entry.path().filename().string());
            EXPECT_EQ(bytesOf(built.path / entry.path().filename()), bytesOf(entry.path()));
            ++files;
        }
        EXPECT_EQ(files, 13);  // body.jrig, two clips, ten limbs
    }
}

TEST(WorkshopDocument, ARefusedFigureSaysWhyAndWritesNothing) {
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(std::string(AMBER_SOURCE_TESTS_DIR) + "/workshop/looped.json", error)) << error;
    EXPECT_EQ(document.refusal,
              "Rig loading error! : resources\\looped\\body.jrig: bone 1 is its own ancestor (the bones form a cycle)");
    TempDir built;
    EXPECT_FALSE(document.writeGameFiles(built.path / "looped", error));
    EXPECT_FALSE(std::filesystem::exists(built.path / "looped" / "body.jrig"));
}

}  // namespace
