#pragma once
// Editing a figure on the stage: which bone's limb is under the mouse, and
// what dragging a bone's joint or its angle handle makes of its numbers. The
// arithmetic runs backwards through the game's own posing (see Bone::pose), so
// a drag moves a limb with the mouse at any place's scale and any turn.
#include <cstdint>
#include <string>
#include <vector>

#include "skeleton/rig.h"
#include "skeleton/rig_file.h"

// Which pixels of a limb picture are drawn: all but the game's colour key.
struct LimbMask {
    std::int32_t width = 0, height = 0;
    std::vector<bool> solid;  // row by row

    // Reads the limb image at path (game separators) as the game reads it.
    // Returns false, the mask left empty, when it cannot be read.
    bool load(const std::string& path);

    // Whether the picture's pixel (x, y) is drawn; false outside it.
    bool covers(std::int32_t x, std::int32_t y) const;
};

// The bone whose limb is drawn on top at stage pixel (x, y) in the rig's
// latest pose, or -1 over the background. masks[i] is limb i's.
int boneAt(const Rig& rig, const std::vector<LimbMask>& masks, float x, float y);

// What a drag on the stage does to the selected bone.
enum class DragKind {
    none,
    offset,  // the joint moves in the parent's picture; the limb follows the mouse
    pivot,   // the picture slides under the joint, which stays
    angle,   // the bone turns toward the mouse
};

// The bone's record after a drag of (dx, dy) stage pixels since it began, from
// start, the record when the drag began; posed is the bone as drawn then.
// Pivot and offset are rounded to whole picture pixels; the angle is the
// direction from the joint to stage pixel (x, y) (0 hanging straight down,
// clockwise positive, as the game turns limbs), rounded to 0.01 radian.
BoneRecord draggedBone(const BoneRecord& start, DragKind kind, const Bone& posed, float dx, float dy, float x,
                       float y);

// Length of the angle handle in stage pixels, from the joint.
inline constexpr float kAngleHandleLength = 40.0f;

// Where the selected bone's angle handle is drawn, on the stage.
void angleHandleEnd(const Bone& posed, float& x, float& y);
