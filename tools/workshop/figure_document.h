#pragma once
// The figure being worked on: its source text (content/figures/<name>.json)
// and what the rig tool's compiler and the game's own checks make of it.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "figure_build.h"

struct FigureDocument {
    std::string source;  // path of the figure source
    nlohmann::json text;
    CompiledFigure compiled;  // valid while refusal is empty
    std::string refusal;      // the whole line the game or the rig tool refuses with; empty when accepted

    // Reads the figure source at path and checks it. Returns false with error
    // "<path>: cannot be opened" or "<path>: is not valid JSON"; a figure
    // that is read but refused returns true with refusal set.
    bool open(const std::string& path, std::string& error);

    // Compiles the text and holds it to the game's loaders, naming its files
    // as the game would ("resources\<name>\body.jrig"), limbs drawn too.
    // Returns whether it is accepted; refusal says why not.
    bool check();

    // Sets the pivot, offset, angle (radians), limb and layer of bone
    // (an index into the text's "bones") in the text from record, then checks
    // the figure again. Does nothing for an index outside the bones.
    void setBone(std::size_t bone, const BoneRecord& record);

    // The name the text gives bone, or "bone <i>" when it gives none.
    std::string boneName(std::size_t bone) const;

    // The game folder this figure is loaded from, "resources\<name>".
    std::string gameFolder() const;

    // Writes the game's files of an accepted figure into directory, the same
    // bytes as amber-rigtool build-figure. Returns false with error when the
    // figure is refused (nothing written) or a file cannot be written.
    bool writeGameFiles(const std::filesystem::path& directory, std::string& error) const;
};
