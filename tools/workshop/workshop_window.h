#pragma once
// The workshop's window: the stage, the figure's check line and the clip
// controls, drawn with Dear ImGui over SDL's renderer.
#include <string>

struct WorkshopOptions {
    std::string source;        // the figure source to open
    std::string outDirectory;  // where a save writes its game files; none written when empty
    int measureFrames = 0;     // when above 0: play the idle for this many frames, print the rate, close
};

// Opens the window on options.source and runs until it is closed. Returns 0,
// or 1 with a line on standard error when the source cannot be read or the
// window cannot be made.
int runWorkshop(const WorkshopOptions& options);
