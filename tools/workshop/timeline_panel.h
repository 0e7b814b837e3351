#pragma once
// The workshop's clip timeline and check list, drawn with Dear ImGui: a row
// per bone, each key a bar from its start frame for its duration, to select,
// move, stretch, add and delete; the key's start angle and sweep as the game
// plays it; the game's refusal and the workshop's own warnings, each of which
// selects what it names when clicked.
#include <string>

#include "figure_document.h"
#include "stage.h"

struct TimelineView {
    int key = -1;  // the selected key of the stage's clip, or -1
    // A bar being dragged: the key as it was when the drag began, and whether
    // the drag moves it (else stretches it) and has edited the figure yet.
    Keyframe dragFrom{};
    bool dragMoves = false;
    bool dragging = false;
    bool dragEdited = false;
};

// The clip's name in the figure text: "idle" or "attack".
const char* clipKey(StageClip clip);

// Draws the timeline window at (x, y), width by height window pixels, for the
// stage's clip; selectedBone is the bone selected in the workshop. Returns
// whether the figure was edited.
bool drawTimeline(FigureDocument& document, Stage& stage, TimelineView& view, int& selectedBone, float x, float y,
                  float width, float height);

// Draws the check list window: the game's refusal, then the workshop's own
// warnings (limbSizes as for workshopWarnings), and note, when not empty,
// under the refusal. Clicking a line selects the bone or key it names.
void drawChecks(const FigureDocument& document, Stage& stage, TimelineView& view, int& selectedBone,
                const std::vector<std::pair<int, int>>& limbSizes, const std::string& note, float x, float y,
                float width, float height);
