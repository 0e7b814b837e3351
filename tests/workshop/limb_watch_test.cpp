// Limb pictures reloaded from disk: a picture saved again is drawn on the
// stage at the next poll, not before a second has passed, and a picture that
// cannot be drawn refuses the figure and leaves the last good one in place.
#include <gtest/gtest.h>

#include <fstream>

#include "figure_document.h"
#include "limb_watch.h"
#include "stage.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::TempDir;

constexpr testsupport::Rgb kNewGreen = {32, 192, 32};

// Wendle's head, 80 x 78 as his own, painted one flat green.
const char* const kGreenHead =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" height=\"78\">"
    "<rect width=\"80\" height=\"78\" fill=\"#20c020\"/></svg>\n";

// Writes text over path and makes sure its time is seen to move, however
// coarse the file system's clock.
void saveOver(const std::filesystem::path& path, const std::string& text) {
    const auto before = std::filesystem::last_write_time(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    std::filesystem::last_write_time(path, before + std::chrono::seconds(2));
}

// The stage built from the document's files, as the window rebuilds it, and
// the pixels of its new green.
int greenOnStage(const FigureDocument& document, const std::filesystem::path& folder) {
    Canvas canvas(640, 480);
    Stage stage;
    std::string error;
    EXPECT_TRUE(document.writeGameFiles(folder, error)) << error;
    EXPECT_TRUE(stage.load(canvas.renderer, folder.string(), kPlayerPlace, error)) << error;
    stage.draw(canvas.renderer);
    return canvas.count(kNewGreen);
}

TEST(LimbWatch, ASavedPictureIsOnTheStageAtTheNextPoll) {
    TempDir dir;
    std::filesystem::copy(std::string(AMBER_FIGURES_DIR) + "/wendle", dir.path / "wendle",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(std::string(AMBER_FIGURES_DIR) + "/wendle.json", dir.path / "wendle.json");
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(dir.file("wendle.json"), error)) << error;
    LimbWatch watch;
    watch.watch(document.text, document.source, 5000);
    EXPECT_EQ(watch.pictures.size(), 10u);
    EXPECT_EQ(greenOnStage(document, dir.path / "built"), 0);

    const std::filesystem::path head = dir.path / "wendle" / "head.svg";
    saveOver(head, kGreenHead);
    EXPECT_EQ(reloadChangedLimbs(watch, document, 5999), LimbReload::unchanged);  // not a second yet
    EXPECT_EQ(reloadChangedLimbs(watch, document, 6000), LimbReload::reloaded);
    EXPECT_GT(greenOnStage(document, dir.path / "built"), 1000);  // the head, at the game's 0.7
    EXPECT_EQ(reloadChangedLimbs(watch, document, 7000), LimbReload::unchanged);

    const std::vector<std::uint8_t> lastGoodRig = document.compiled.rigBytes;
    saveOver(head, "<svg width=\"80\"");
    EXPECT_EQ(reloadChangedLimbs(watch, document, 8000), LimbReload::broken);
    const std::string refusedAs = "Rig tool error! : " + dir.file("wendle.json") + ": limb 1: ";
    EXPECT_EQ(document.refusal.substr(0, refusedAs.size()), refusedAs);
    EXPECT_EQ(document.compiled.rigBytes, lastGoodRig);

    // Mended, or taken away altogether.
    saveOver(head, kGreenHead);
    EXPECT_EQ(reloadChangedLimbs(watch, document, 9000), LimbReload::reloaded);
    EXPECT_EQ(document.refusal, "");
    std::filesystem::remove(head);
    EXPECT_EQ(reloadChangedLimbs(watch, document, 10000), LimbReload::broken);
}

}  // namespace
