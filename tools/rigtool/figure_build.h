#pragma once
// A figure source (content/figures/<name>.json) compiled in memory into the
// game's files and checked by the game's own loaders, word for word. The rig
// tool writes what this makes; the workshop checks a figure with it.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skeleton/clip.h"
#include "skeleton/rig_file.h"

// The start of the line for a fault in the figure source itself (a missing
// field, a bone name that names no bone), before the game's checks are reached.
inline constexpr const char* kFigureSourceError = "Rig tool error! : ";

// The game's three files of one figure, as bytes, and the records they hold.
struct CompiledFigure {
    RigFile rig;
    std::vector<Keyframe> idle, attack;
    std::vector<std::uint8_t> rigBytes, idleBytes, attackBytes;
};

// Encodes rig, then reads the bytes back through parseRig under name (the
// game's words for the file), so a rig the game would refuse is refused here.
// Returns false with parseRig's error; bytes hold the encoding either way.
bool encodeCheckedRig(const RigFile& rig, const std::string& name, std::vector<std::uint8_t>& bytes,
                      std::string& error);

// The same for a clip played by a rig of boneCount bones; an attack clip is
// also held to checkAttackClip.
bool encodeCheckedClip(const std::vector<Keyframe>& clip, std::int32_t boneCount, bool attack,
                       const std::string& name, std::vector<std::uint8_t>& bytes, std::string& error);

// Reads the figure source at path as JSON. Returns false with error
// "<path>: cannot be opened" or "<path>: is not valid JSON".
bool readFigureSource(const std::string& path, nlohmann::json& text, std::string& error);

// Compiles the figure text read from source: the rig and both clips encoded
// and read back through parseRig, parseClip and checkAttackClip. nameOf gives
// the name each game file (kRigFile, kIdleClipFile, kAttackClipFile) goes by in
// the game's error text. On a fault returns false with kind set to the line's
// start (kFigureSourceError, kRigLoadError or kClipLoadError) and error to the
// rest; figure is then unspecified.
bool compileFigure(const nlohmann::json& text, const std::string& source,
                   const std::function<std::string(std::string_view file)>& nameOf, CompiledFigure& figure,
                   const char*& kind, std::string& error);

// Writes a compiled figure into directory (made when missing): the rig, both
// clips and the limbs drawn from the figure text read from source. The one way
// a figure's game files are written, by the rig tool and the workshop alike.
// Returns false with error "<path>: cannot be written" or drawFigureLimbs's.
bool writeFigureFiles(const CompiledFigure& figure, const nlohmann::json& text, const std::string& source,
                      const std::filesystem::path& directory, std::string& error);

// Draws every limb of the figure text from its SVG picture (or mirrors an
// earlier limb), at the picture's own size, and, when directory is given, saves
// limb i there as limbFileName(i). Returns false with error "<source>: limb
// <i>: <what>" on the first limb that cannot be drawn or saved, or when this
// build has no limb painter.
bool drawFigureLimbs(const nlohmann::json& text, const std::string& source, const std::filesystem::path* directory,
                     std::string& error);
