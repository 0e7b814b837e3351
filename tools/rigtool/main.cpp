// amber-rigtool: turns the readable figure sources into the game's rig, clip
// and limb files, and dumps compiled rig and clip files back to text.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "figure_build.h"
#include "figure_text.h"
#include "media/content.h"
#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"

namespace {

using nlohmann::json;

constexpr const char* kToolError = kFigureSourceError;

const char* const kUsage =
    "usage:\n"
    "  amber-rigtool dump-rig <body.jrig>             rig as text on stdout\n"
    "  amber-rigtool dump-clip <clip.janim>           clip as text on stdout\n"
    "  amber-rigtool compile-rig <rig.json> <body.jrig>\n"
    "  amber-rigtool compile-clip <clip.json> <clip.janim>\n"
    "  amber-rigtool build-figure <figure.json> <directory>\n"
    "      writes body.jrig, idle.janim, attack.janim and limb0.bmp... (drawn from\n"
    "      the SVG pictures the figure names) for the game\n";

int failWith(const char* kind, const std::string& error) {
    std::fprintf(stderr, "%s%s\n", kind, error.c_str());
    return 1;
}

bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.good()) return true;
    error = path + ": cannot be written";
    return false;
}

bool compileRig(const RigFile& rig, const std::string& outPath, std::string& error) {
    std::vector<std::uint8_t> bytes;
    return encodeCheckedRig(rig, outPath, bytes, error) && writeBytes(outPath, bytes, error);
}

bool compileClip(const std::vector<Keyframe>& clip, const std::string& outPath, std::string& error) {
    std::vector<std::uint8_t> bytes;
    return encodeCheckedClip(clip, kAnyBoneCount, false, outPath, bytes, error) && writeBytes(outPath, bytes, error);
}

int dumpRig(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    RigFile rig;
    if (!readFigureFile(path, bytes, error) || !parseRig(bytes, path, rig, error)) return failWith(kRigLoadError, error);
    std::cout << rigToText(rig).dump(2) << '\n';
    return 0;
}

int dumpClip(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    std::vector<Keyframe> clip;
    if (!readFigureFile(path, bytes, error) || !parseClip(bytes, path, kAnyBoneCount, clip, error))
        return failWith(kClipLoadError, error);
    std::cout << clipToText(clip).dump(2) << '\n';
    return 0;
}

int compileRigFile(const std::string& source, const std::string& outPath) {
    json text;
    RigFile rig;
    std::string error;
    if (!readFigureSource(source, text, error) || !rigFromText(text, source, 0, rig, error)) return failWith(kToolError, error);
    if (!compileRig(rig, outPath, error)) return failWith(kRigLoadError, error);
    return 0;
}

int compileClipFile(const std::string& source, const std::string& outPath) {
    json text;
    std::vector<Keyframe> clip;
    std::string error;
    if (!readFigureSource(source, text, error) || !clipFromText(text, source, nullptr, clip, error))
        return failWith(kToolError, error);
    if (!compileClip(clip, outPath, error)) return failWith(kClipLoadError, error);
    return 0;
}

int buildFigure(const std::string& source, const std::string& outDirectory) {
    json text;
    std::string error;
    if (!readFigureSource(source, text, error)) return failWith(kToolError, error);
    const std::filesystem::path directory(outDirectory);
    const auto nameOf = [&](std::string_view file) { return (directory / file).string(); };
    CompiledFigure figure;
    const char* kind = kToolError;
    if (!compileFigure(text, source, nameOf, figure, kind, error)) return failWith(kind, error);
    if (!writeFigureFiles(figure, text, source, directory, error)) return failWith(kToolError, error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "dump-rig" && argc == 3) return dumpRig(argv[2]);
    if (command == "dump-clip" && argc == 3) return dumpClip(argv[2]);
    if (command == "compile-rig" && argc == 4) return compileRigFile(argv[2], argv[3]);
    if (command == "compile-clip" && argc == 4) return compileClipFile(argv[2], argv[3]);
    if (command == "build-figure" && argc == 4) return buildFigure(argv[2], argv[3]);
    std::fputs(kUsage, stderr);
    return 2;
}
