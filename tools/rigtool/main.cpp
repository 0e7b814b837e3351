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

#include "figure_text.h"
#include "limb_painter.h"
#include "media/content.h"
#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"

namespace {

using nlohmann::json;

constexpr const char* kToolError = "Rig tool error! : ";

const char* const kUsage =
    "usage:\n"
    "  amber-rigtool dump-rig <body.jrig>             rig as text on stdout\n"
    "  amber-rigtool dump-clip <clip.janim>           clip as text on stdout\n"
    "  amber-rigtool compile-rig <rig.json> <body.jrig>\n"
    "  amber-rigtool compile-clip <clip.json> <clip.janim>\n"
    "  amber-rigtool build-figure <figure.json> <directory>\n"
    "      writes body.jrig, idle.janim, attack.janim and limb0.bmp... for the game\n";

int failWith(const char* kind, const std::string& error) {
    std::fprintf(stderr, "%s%s\n", kind, error.c_str());
    return 1;
}

bool readText(const std::string& path, json& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be opened";
        return false;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text = json::parse(content, nullptr, false);
    if (text.is_discarded()) {
        error = path + ": is not valid JSON";
        return false;
    }
    return true;
}

bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.good()) return true;
    error = path + ": cannot be written";
    return false;
}

// Encodes and then reads back through the game's own parser, so a file the
// game would refuse is refused here with the same words.
bool compileRig(const RigFile& rig, const std::string& outPath, std::string& error) {
    std::vector<std::uint8_t> bytes = encodeRig(rig);
    RigFile check;
    if (!parseRig(bytes, outPath, check, error)) return false;
    return writeBytes(outPath, bytes, error);
}

bool compileClip(const std::vector<Keyframe>& clip, std::int32_t boneCount, bool attack, const std::string& outPath,
                 std::string& error) {
    std::vector<std::uint8_t> bytes = encodeClip(clip);
    std::vector<Keyframe> check;
    if (!parseClip(bytes, outPath, boneCount, check, error)) return false;
    if (attack && !checkAttackClip(check.size(), outPath, error)) return false;
    return writeBytes(outPath, bytes, error);
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
    if (!readText(source, text, error) || !rigFromText(text, source, 0, rig, error)) return failWith(kToolError, error);
    if (!compileRig(rig, outPath, error)) return failWith(kRigLoadError, error);
    return 0;
}

int compileClipFile(const std::string& source, const std::string& outPath) {
    json text;
    std::vector<Keyframe> clip;
    std::string error;
    if (!readText(source, text, error) || !clipFromText(text, source, nullptr, clip, error))
        return failWith(kToolError, error);
    if (!compileClip(clip, kAnyBoneCount, false, outPath, error)) return failWith(kClipLoadError, error);
    return 0;
}

bool writeLimbs(const json& limbs, const std::string& source, const std::filesystem::path& directory,
                std::string& error) {
    for (std::size_t i = 0; i < limbs.size(); ++i) {
        const std::string where = source + ": limb " + std::to_string(i);
        SDL_Surface* surface = nullptr;
        // A limb may be the mirror image of an earlier one (a left and a right arm).
        if (limbs[i].is_object() && limbs[i].contains("mirrorOf")) {
            const json& of = limbs[i]["mirrorOf"];
            if (!of.is_number_unsigned() || of.get<std::size_t>() >= i) {
                error = where + ": \"mirrorOf\" must name an earlier limb";
                return false;
            }
            surface = paintLimb(limbs[of.get<std::size_t>()], where, error);
            if (surface) mirrorSurface(surface);
        } else {
            surface = paintLimb(limbs[i], where, error);
        }
        if (!surface) return false;
        std::string path = (directory / limbFileName(static_cast<std::int32_t>(i))).string();
        int saved = SDL_SaveBMP(surface, path.c_str());
        SDL_FreeSurface(surface);
        if (saved != 0) {
            error = path + ": " + SDL_GetError();
            return false;
        }
    }
    return true;
}

int buildFigure(const std::string& source, const std::string& outDirectory) {
    json text;
    std::string error;
    if (!readText(source, text, error)) return failWith(kToolError, error);
    if (!text.is_object() || !text.contains("limbs") || !text["limbs"].is_array())
        return failWith(kToolError, source + ": needs a \"limbs\" list");
    for (const char* clipName : {"idle", "attack"}) {
        if (!text.contains(clipName)) return failWith(kToolError, source + ": needs an \"" + clipName + "\" clip");
    }
    RigFile rig;
    std::vector<Keyframe> idle, attack;
    const json& limbs = text["limbs"];
    if (!rigFromText(text, source, static_cast<int>(limbs.size()), rig, error) ||
        !clipFromText(text["idle"], source + ": idle", &text["bones"], idle, error) ||
        !clipFromText(text["attack"], source + ": attack", &text["bones"], attack, error))
        return failWith(kToolError, error);

    std::filesystem::path directory(outDirectory);
    std::error_code made;
    std::filesystem::create_directories(directory, made);
    const auto boneCount = static_cast<std::int32_t>(rig.bones.size());
    if (!compileRig(rig, (directory / kRigFile).string(), error)) return failWith(kRigLoadError, error);
    if (!compileClip(idle, boneCount, false, (directory / kIdleClipFile).string(), error) ||
        !compileClip(attack, boneCount, true, (directory / kAttackClipFile).string(), error))
        return failWith(kClipLoadError, error);
    if (!writeLimbs(limbs, source, directory, error)) return failWith(kToolError, error);
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
