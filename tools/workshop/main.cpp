// amber-workshop: the figure workshop. A figure source is built by the rig
// tool's own compiler, held to the game's own loaders and, in the window,
// drawn by the game's own posing and drawing code.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <string>

#include "figure_document.h"
#include "workshop_window.h"

namespace {

const char* const kUsage =
    "usage:\n"
    "  amber-workshop --check <figure.json>\n"
    "      builds the figure in memory and checks it as the game would; prints\n"
    "      one line and exits 0 when the game would load it, 1 when it would not\n"
    "  amber-workshop --format <figure.json>\n"
    "      writes the figure source again in the layout the workshop saves in,\n"
    "      so a hand edit and a save differ only where the figure does\n"
    "  amber-workshop <figure.json> [--out <directory>]\n"
    "      opens the figure in the workshop window; Ctrl+S saves it in place\n"
    "      and, with --out, writes its game files into directory\n";

std::int32_t endFrameOf(const std::vector<Keyframe>& keyframes) {
    AnimationClip clip;
    clip.assign(keyframes);
    return clip.endFrame();
}

int checkFigure(const std::string& source) {
    FigureDocument document;
    std::string error;
    if (!document.open(source, error)) {
        std::printf("%s%s\n", kFigureSourceError, error.c_str());
        return 1;
    }
    if (!document.refusal.empty()) {
        std::printf("%s\n", document.refusal.c_str());
        return 1;
    }
    const CompiledFigure& figure = document.compiled;
    std::printf("figure ok: %zu bones, %d limbs, idle %d frames, attack %d frames\n", figure.rig.bones.size(),
                figure.rig.limbCount, endFrameOf(figure.idle), endFrameOf(figure.attack));
    return 0;
}

int formatFigure(const std::string& source) {
    FigureDocument document;
    std::string error;
    if (!document.open(source, error) || !document.save(nullptr, error)) {
        std::fprintf(stderr, "amber-workshop: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--check" && argc == 3) return checkFigure(argv[2]);
    if (command == "--format" && argc == 3) return formatFigure(argv[2]);
    WorkshopOptions options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            options.outDirectory = argv[++i];
        } else if (arg == "--measure" && i + 1 < argc) {
            options.measureFrames = std::atoi(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-' && options.source.empty()) {
            options.source = arg;
        } else {
            break;
        }
    }
    if (i != argc || options.source.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return runWorkshop(options);
}
