// Saving a figure: the source written in a layout that a diff reads as the
// edit, every edit read back as it was made, the game's files held back while
// the game would refuse them, and undo and redo walking the edits.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "figure_document.h"
#include "figure_writer.h"
#include "support/canvas.h"

namespace {

using testsupport::TempDir;

const std::string kFigures = AMBER_FIGURES_DIR;

std::string textOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of a shipped figure with its pictures, to save over.
std::string copyFigure(const TempDir& dir, const std::string& name) {
    std::filesystem::copy(kFigures + "/" + name, dir.path / name, std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(kFigures + "/" + name + ".json", dir.path / (name + ".json"));
    return dir.file(name + ".json");
}

TEST(FigureWriter, TheShippedFiguresAreInTheSavedLayout) {
    for (const char* figure : {"wendle", "debugman"}) {
        SCOPED_TRACE(figure);
        const std::string path = kFigures + "/" + figure + ".json";
        EXPECT_EQ(figureSourceText(nlohmann::json::parse(textOf(path))), textOf(path));
    }
}

TEST(FigureWriter, WritesKnownKeysInOrderAndKeepsTheRest) {
    const auto text = nlohmann::json::parse(R"({
        "idle": [{"angle": 0.5, "duration": 4, "start": 0, "bone": "root", "ease": "none"}],
        "bones": [{"layer": 0, "children": [], "limb": 0, "offset": [1, 2], "pivot": [3, 4], "angle": 0, "name": "root"}],
        "zeta": {"b": 1, "a": [true]},
        "about": "a test"})");
    EXPECT_EQ(figureSourceText(text),
              "{\n"
              "  \"about\": \"a test\",\n\n"
              "  \"bones\": [\n"
              "    { \"name\": \"root\", \"angle\": 0, \"pivot\": [3, 4], \"offset\": [1, 2], \"limb\": 0, \"layer\": 0,\n"
              "      \"children\": [] }\n"
              "  ],\n\n"
              "  \"idle\": [\n"
              "    { \"bone\": \"root\", \"start\": 0, \"duration\": 4, \"angle\": 0.5, \"ease\": \"none\" }\n"
              "  ],\n\n"
              "  \"zeta\": { \"a\": [true], \"b\": 1 }\n"
              "}\n");
}

TEST(FigureWriter, AnglesReadBackAsTheSameFloat) {
    struct Case {
        const char* label;
        float angle;
        const char* written;
    };
    const Case cases[] = {
        {"a whole turn in integers", 3.0f, "3"},
        {"a short decimal", 0.3f, "0.3"},
        {"a negative decimal", -0.05f, "-0.05"},
        {"negative zero keeps its sign", -0.0f, "-0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const nlohmann::json text = angleText(c.angle);
        EXPECT_EQ(text.dump(), c.written);
        EXPECT_TRUE(holdsAngle(nlohmann::json::parse(text.dump()), c.angle));
    }
    EXPECT_FALSE(holdsAngle(nlohmann::json(0.0), -0.0f));
}

TEST(FigureSave, EveryBoneEditIsReadBackAsMade) {
    struct Case {
        const char* label;
        void (*apply)(BoneRecord&);
    };
    const Case cases[] = {
        {"pivot", [](BoneRecord& b) { b.pivotX = 3, b.pivotY = 71; }},
        {"offset", [](BoneRecord& b) { b.offsetX = -4, b.offsetY = 12; }},
        {"angle", [](BoneRecord& b) { b.angle = -1.2345f; }},
        {"limb", [](BoneRecord& b) { b.limbIndex = 4; }},
        {"layer", [](BoneRecord& b) { b.layer = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = copyFigure(dir, "wendle");
        FigureDocument document;
        std::string error;
        ASSERT_TRUE(document.open(path, error)) << error;
        BoneRecord head = document.compiled.rig.bones[1];
        c.apply(head);
        document.setBone(1, head);
        ASSERT_EQ(document.refusal, "");
        const RigFile edited = document.compiled.rig;
        ASSERT_TRUE(document.save(nullptr, error)) << error;
        EXPECT_FALSE(document.modified());

        FigureDocument reopened;
        ASSERT_TRUE(reopened.open(path, error)) << error;
        ASSERT_EQ(reopened.refusal, "");
        EXPECT_EQ(reopened.compiled.rigBytes, document.compiled.rigBytes);
        EXPECT_EQ(reopened.compiled.rig.bones[1].angle, edited.bones[1].angle);
        EXPECT_EQ(reopened.text, document.text);
        // Only the head's line changed.
        std::ifstream before(kFigures + "/wendle.json"), after(path);
        int changedLines = 0;
        for (std::string a, b; std::getline(before, a) && std::getline(after, b);) changedLines += a != b;
        EXPECT_EQ(changedLines, 1);
    }
}

TEST(FigureSave, GameFilesAreTheBuildsAndHeldBackWhileRefused) {
    TempDir dir;
    const std::string path = copyFigure(dir, "debugman");
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(path, error)) << error;
    const std::filesystem::path out = dir.path / "out";
    ASSERT_TRUE(document.save(&out, error)) << error;
    EXPECT_EQ(textOf(out / "body.jrig"), textOf(std::filesystem::path(AMBER_BUILD_DIR) / "resources/debugman/body.jrig"));
    EXPECT_EQ(textOf(out / "limb9.bmp"), textOf(std::filesystem::path(AMBER_BUILD_DIR) / "resources/debugman/limb9.bmp"));

    // The head made its own child: the game refuses it, the source is still saved.
    nlohmann::json looped = document.text;
    looped["bones"][1]["children"] = {"head"};
    document.edit(looped);
    ASSERT_EQ(document.refusal, "Rig loading error! : resources\\debugman\\body.jrig: bone 1 is listed as a child "
                                "twice (by bone 0 and bone 1)");
    std::filesystem::remove_all(out);
    EXPECT_FALSE(document.save(&out, error));
    EXPECT_EQ(error, "not written while the game refuses the figure: " + document.refusal);
    EXPECT_FALSE(std::filesystem::exists(out / "body.jrig"));
    EXPECT_EQ(textOf(path), figureSourceText(document.text));
}

TEST(FigureUndo, WalksTheEditsBackAndForth) {
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(kFigures + "/wendle.json", error)) << error;
    const nlohmann::json opened = document.text;
    BoneRecord head = document.compiled.rig.bones[1];
    head.pivotX = 30;
    document.setBone(1, head);
    const nlohmann::json first = document.text;
    // A drag: three moves, one edit.
    for (int x : {31, 32, 33}) {
        head.pivotX = x;
        document.setBone(1, head, x != 31);
    }
    EXPECT_EQ(document.undoStates.size(), 2u);
    document.setBone(1, head);
    EXPECT_EQ(document.undoStates.size(), 2u);  // the same numbers again are no edit

    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.text, first);
    EXPECT_EQ(document.compiled.rig.bones[1].pivotX, 30);  // checked again, not only the text
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.text, opened);
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(document.undo());
    ASSERT_TRUE(document.redo());
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(document.compiled.rig.bones[1].pivotX, 33);
    EXPECT_FALSE(document.redo());

    // A new edit after undo forgets what was undone.
    ASSERT_TRUE(document.undo());
    head.layer = 2;
    document.setBone(1, head);
    EXPECT_FALSE(document.redo());
}

}  // namespace
