// Editing on the stage: a click finds the limb drawn on top, and a drag moves
// a joint, slides a picture or turns a bone the way the mouse went, whatever
// the place's scale and the bone's turn.
#include <gtest/gtest.h>

#include "figure_document.h"
#include "stage.h"
#include "support/canvas.h"

namespace {

using testsupport::Canvas;
using testsupport::TempDir;

// Wendle built from document and drawn at frame 0 of his idle, where the game
// shows him.
struct DrawnWendle {
    FigureDocument document;
    TempDir built;
    Canvas canvas{640, 480};
    Stage stage;

    DrawnWendle() {
        std::string error;
        EXPECT_TRUE(document.open(std::string(AMBER_FIGURES_DIR) + "/wendle.json", error)) << error;
        redraw();
    }
    void redraw() {
        std::string error;
        ASSERT_TRUE(document.writeGameFiles(built.path / "wendle", error)) << error;
        ASSERT_TRUE(stage.load(canvas.renderer, (built.path / "wendle").string(), kPlayerPlace, error)) << error;
        stage.draw(canvas.renderer);
    }
    const Bone& bone(int i) const { return stage.figure->rig.bones[i]; }
};

TEST(StagePick, FindsTheLimbDrawnOnTop) {
    DrawnWendle wendle;
    struct Case {
        const char* label;
        float x, y;
        int bone;
    };
    const Case cases[] = {
        {"the head", 128, 48, 1},
        {"the near upper arm, over the torso", 140, 72, 2},
        {"the near forearm, turned", 146, 100, 3},
        {"the far forearm", 108, 100, 5},
        {"the far shin, behind the near one", 124, 140, 9},
        {"the near shin", 136, 140, 7},
        {"the grey below his feet", 128, 180, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(boneAt(wendle.stage.figure->rig, wendle.stage.limbMasks, c.x, c.y), c.bone);
    }
}

TEST(StageDrag, TheJointFollowsTheMouse) {
    DrawnWendle wendle;
    // The head's joint on the torso, at the game's 0.7: 7 stage pixels are 10 picture pixels.
    const BoneRecord head = wendle.document.compiled.rig.bones[1];
    const BoneRecord moved = draggedBone(head, DragKind::offset, wendle.bone(1), 7, -14, 0, 0);
    EXPECT_EQ(moved.offsetX, 38);
    EXPECT_EQ(moved.offsetY, -11);
    EXPECT_EQ(moved.pivotX, head.pivotX);
    wendle.document.setBone(1, moved);
    wendle.redraw();
    EXPECT_EQ(wendle.bone(1).screenX, 135);
    EXPECT_EQ(wendle.bone(1).screenY, 46);
}

TEST(StageDrag, APictureSlidesUnderItsTurnedJoint) {
    DrawnWendle wendle;
    // The near forearm hangs turned -0.3: ten pixels down the stage are
    // mostly along its own length, a little across it.
    const BoneRecord forearm = wendle.document.compiled.rig.bones[3];
    const BoneRecord moved = draggedBone(forearm, DragKind::pivot, wendle.bone(3), 0, 10, 0, 0);
    EXPECT_EQ(moved.pivotX, 18);
    EXPECT_EQ(moved.pivotY, -6);
    EXPECT_EQ(moved.offsetX, forearm.offsetX);
    // The joint stays where it was.
    const int jointX = wendle.bone(3).screenX, jointY = wendle.bone(3).screenY;
    ASSERT_EQ(boneAt(wendle.stage.figure->rig, wendle.stage.limbMasks, 150, 124), -1);
    wendle.document.setBone(3, moved);
    wendle.redraw();
    EXPECT_EQ(wendle.bone(3).screenX, jointX);
    EXPECT_EQ(wendle.bone(3).screenY, jointY);
    // The picture went down with the mouse: its end now covers grey it did not.
    EXPECT_EQ(boneAt(wendle.stage.figure->rig, wendle.stage.limbMasks, 150, 124), 3);
}

TEST(StageDrag, TheHandleTurnsTheBoneTowardTheMouse) {
    DrawnWendle wendle;
    const BoneRecord head = wendle.document.compiled.rig.bones[1];
    const Bone& joint = wendle.bone(1);
    const float x = static_cast<float>(joint.screenX), y = static_cast<float>(joint.screenY);
    struct Case {
        const char* label;
        float x, y;
        float angle;
    };
    const Case cases[] = {
        {"straight down", x, y + 30, 0.0f},
        {"toward the board, on his right", x + 30, y, -1.57f},
        {"behind him", x - 30, y, 1.57f},
        {"up and forward", x + 20, y - 20, -2.36f},
        {"on the joint itself: unchanged", x, y, head.angle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FLOAT_EQ(draggedBone(head, DragKind::angle, joint, 0, 0, c.x, c.y).angle, c.angle);
    }
    // The handle is drawn on the bone's line, straight down for a bone at rest.
    float hx = 0, hy = 0;
    angleHandleEnd(joint, hx, hy);
    EXPECT_FLOAT_EQ(hx, x);
    EXPECT_FLOAT_EQ(hy, y + kAngleHandleLength);
}

}  // namespace
