// Adding, deleting and re-hanging bones: every children list and key still
// names the bone it named, a deleted branch takes its keys with it, the tree
// the game would refuse is never made, and a re-hung bone saves, reopens
// and undoes whole.
#include <gtest/gtest.h>

#include "bone_edits.h"
#include "figure_document.h"
#include "support/canvas.h"

namespace {

using nlohmann::json;
using testsupport::TempDir;

const std::string kFigures = AMBER_FIGURES_DIR;

// A tree named both ways, by name and by index, as figure sources may.
const json kTree = json::parse(R"({
    "bones": [
        { "name": "root", "children": ["arm", 3] },
        { "name": "arm", "children": ["hand"] },
        { "name": "hand" },
        { "name": "leg", "children": [4] },
        { "name": "foot" }
    ],
    "idle": [
        { "bone": "hand", "start": 0 }, { "bone": 2, "start": 1 }, { "bone": "leg", "start": 2 },
        { "bone": 4, "start": 3 }, { "bone": "arm", "start": 4 }, { "bone": 9, "start": 5 }
    ],
    "attack": [ { "bone": 1, "start": 0 }, { "bone": "foot", "start": 0 } ]
})");

TEST(BoneDelete, TakesTheBranchAndItsKeysAndRenumbersTheRest) {
    json text = kTree;
    std::string error;
    ASSERT_TRUE(deleteBoneFrom(text, 1, error)) << error;
    EXPECT_EQ(text["bones"], json::parse(R"([
        { "name": "root", "children": [1] },
        { "name": "leg", "children": [2] },
        { "name": "foot" }
    ])"));
    // Names still name their bones; indices are renumbered; a key naming no
    // bone stays for the game's check to refuse.
    EXPECT_EQ(text["idle"], json::parse(R"([
        { "bone": "leg", "start": 2 }, { "bone": 2, "start": 3 }, { "bone": 9, "start": 5 }
    ])"));
    EXPECT_EQ(text["attack"], json::parse(R"([ { "bone": "foot", "start": 0 } ])"));
}

TEST(BoneEdits, RefuseWhatTheGameWouldRefuseAndChangeNothing) {
    json full = kTree;
    for (int i = 0; i < 16; ++i) full["bones"].push_back({{"name", "toe " + std::to_string(i)}});
    for (int i = 0; i < 16; ++i) full["bones"][4]["children"].push_back(5 + i);
    struct Case {
        const char* label;
        const json& text;
        bool (*edit)(json&, std::string&);
        const char* error;
    };
    const Case cases[] = {
        {"deleting the root", kTree, [](json& t, std::string& e) { return deleteBoneFrom(t, 0, e); },
         "the root cannot be deleted: the game draws every figure from its bone 0"},
        {"hanging the root", kTree, [](json& t, std::string& e) { return reparentBoneIn(t, 0, 3, e); },
         "the root hangs from no bone: the game places it itself"},
        {"hanging a bone below itself", kTree, [](json& t, std::string& e) { return reparentBoneIn(t, 1, 2, e); },
         "arm cannot hang from itself or a bone below it"},
        {"hanging on a full bone", full, [](json& t, std::string& e) { return reparentBoneIn(t, 2, 4, e); },
         "foot already has 16 children, the most a bone can have"},
        {"adding to a full bone", full, [](json& t, std::string& e) { return addBoneTo(t, 4, e) >= 0; },
         "foot already has 16 children, the most a bone can have"},
        {"hanging from a bone not there", kTree, [](json& t, std::string& e) { return reparentBoneIn(t, 2, 7, e); },
         "bone 7 is not in the figure"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        json text = c.text;
        std::string error;
        EXPECT_FALSE(c.edit(text, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(text, c.text);
    }
}

TEST(BoneEdits, AddAndReparentListTheBoneOnceUnderItsNewParent) {
    json text = kTree;
    std::string error;
    ASSERT_TRUE(reparentBoneIn(text, 4, 1, error)) << error;
    EXPECT_EQ(text["bones"][1]["children"], json::parse(R"(["hand", "foot"])"));
    EXPECT_EQ(text["bones"][3]["children"], json::array());
    EXPECT_EQ(parentInText(text, 4), 1);

    const json before = text;
    ASSERT_TRUE(reparentBoneIn(text, 4, 1, error)) << error;
    EXPECT_EQ(text, before);  // already hanging there

    text["bones"][2] = {{"name", "hand"}, {"angle", 0.5}, {"pivot", {3, 4}}, {"limb", 2}, {"layer", 6}};
    EXPECT_EQ(addBoneTo(text, 2, error), 5);
    EXPECT_EQ(text["bones"][5], json::parse(R"({ "name": "new bone", "angle": 0.5, "pivot": [0, 0],
                                                 "offset": [3, 4], "limb": 2, "layer": 6 })"));
    EXPECT_EQ(text["bones"][2]["children"], json::parse(R"(["new bone"])"));
    EXPECT_EQ(addBoneTo(text, 2, error), 6);
    EXPECT_EQ(text["bones"][6]["name"], "new bone 2");
}

// Wendle copied with his pictures, so that a save does not touch the shipped one.
std::string copyOfWendle(const TempDir& dir) {
    std::filesystem::copy(kFigures + "/wendle", dir.path / "wendle", std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(kFigures + "/wendle.json", dir.path / "wendle.json");
    return dir.file("wendle.json");
}

TEST(BoneEditsSaved, AReHungBoneIsOneUndoStepAndReopensAsMade) {
    TempDir dir;
    const std::string path = copyOfWendle(dir);
    FigureDocument document;
    std::string error;
    ASSERT_TRUE(document.open(path, error)) << error;
    const json opened = document.text;
    // Wendle's head (1) hung from his near upper arm (2): the torso keeps the
    // far upper arm 4, far thigh 8, near thigh 6 and near upper arm 2.
    ASSERT_TRUE(document.reparentBone(1, 2, error)) << error;
    ASSERT_EQ(document.refusal, "");
    EXPECT_EQ(document.undoStates.size(), 1u);
    ASSERT_TRUE(document.save(nullptr, error)) << error;

    FigureDocument reopened;
    ASSERT_TRUE(reopened.open(path, error)) << error;
    ASSERT_EQ(reopened.refusal, "");
    EXPECT_EQ(reopened.text, document.text);
    EXPECT_EQ(reopened.compiled.rig.bones[0].children, (std::vector<std::int32_t>{4, 8, 6, 2}));
    EXPECT_EQ(reopened.compiled.rig.bones[2].children, (std::vector<std::int32_t>{3, 1}));

    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.text, opened);
}

}  // namespace
