// amber-workshop: the figure workshop. Its check mode builds a figure source
// in memory with the rig tool's own compiler and holds the files it would
// make to the game's own loaders, so what it accepts the game loads and what
// it refuses it refuses in the game's words.
#include <cstdio>
#include <filesystem>
#include <string>

#include "figure_build.h"
#include "media/content.h"

namespace {

const char* const kUsage =
    "usage:\n"
    "  amber-workshop --check <figure.json>\n"
    "      builds the figure in memory and checks it as the game would; prints\n"
    "      one line and exits 0 when the game would load it, 1 when it would not\n";

// The game's folder of the figure whose source is path: content/figures/<name>.json
// becomes "resources\<name>", so a refusal names the file as the game would.
std::string gameFolderOf(const std::string& path) {
    return resourcePath(std::filesystem::path(path).stem().string());
}

std::int32_t endFrameOf(const std::vector<Keyframe>& keyframes) {
    AnimationClip clip;
    clip.assign(keyframes);
    return clip.endFrame();
}

int checkFigure(const std::string& source) {
    nlohmann::json text;
    std::string error;
    const char* kind = kFigureSourceError;
    CompiledFigure figure;
    const std::string folder = gameFolderOf(source);
    const auto nameOf = [&](std::string_view file) { return gamePath(folder, file); };
    const bool compiled = readFigureSource(source, text, error) && compileFigure(text, source, nameOf, figure, kind, error);
    // The limbs are drawn as the build draws them, so a missing picture is found here too.
    if (compiled) kind = kFigureSourceError;
    if (!compiled || !drawFigureLimbs(text, source, nullptr, error)) {
        std::printf("%s%s\n", kind, error.c_str());
        return 1;
    }
    std::printf("figure ok: %zu bones, %d limbs, idle %d frames, attack %d frames\n", figure.rig.bones.size(),
                figure.rig.limbCount, endFrameOf(figure.idle), endFrameOf(figure.attack));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--check" && argc == 3) return checkFigure(argv[2]);
    if (argc == 2 || (argc == 4 && std::string(argv[2]) == "--out")) {
        // Say so rather than open a window that cannot edit anything.
        std::fputs("amber-workshop: the workshop window is not built yet; only --check <figure.json> works\n",
                   stderr);
        return 2;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
