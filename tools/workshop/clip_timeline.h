#pragma once
// What the timeline shows of a clip beyond its keys: the angle each key turns
// its bone from, as the game's own playback reaches it, and the sweep it
// makes; and the workshop's own warnings, things the game accepts but plays
// otherwise than a figure's author likely meant.
#include <cstdint>
#include <string>
#include <vector>

#include "figure_build.h"
#include "skeleton/clip.h"
#include "skeleton/rig_file.h"

// Half a turn: a key sweeping further turns its bone the long way round.
inline constexpr float kHalfTurn = 3.14159265f;

// One key as played: whether it starts at all, the angle its bone has when it
// starts, and target minus that.
struct KeyStart {
    bool starts = false;
    float fromAngle = 0;
    float sweep = 0;
};

// Plays clip once through on the rig built from rig at rest (the game's Rig
// code, no drawing) and notes each key, in file order, as it starts.
std::vector<KeyStart> keyStarts(const RigFile& rig, const std::vector<Keyframe>& clip);

// A warning of the workshop's own: its line, and the bone, clip ("idle" or
// "attack", empty for a bone's) and key (-1 for a bone's) it is about.
struct WorkshopWarning {
    std::string text;
    int bone = -1;
    std::string clip;
    int key = -1;
};

// The warnings for an accepted figure: a pivot outside its limb's picture
// (limbSizes[i] is limb i's width and height); a key the game never starts
// because it comes before an earlier one in file order; a key that runs past
// its clip's end frame and is cut off when the clip loops; a key that turns
// its bone further than half a turn. names[i] names bone i.
std::vector<WorkshopWarning> workshopWarnings(const CompiledFigure& figure,
                                              const std::vector<std::pair<int, int>>& limbSizes,
                                              const std::vector<std::string>& names);
