#pragma once
// The figure being worked on: its source text (content/figures/<name>.json)
// and what the rig tool's compiler and the game's own checks make of it.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "figure_build.h"

struct FigureDocument {
    std::string source;  // path of the figure source
    nlohmann::json text;
    CompiledFigure compiled;  // valid while refusal is empty
    std::string refusal;      // the whole line the game or the rig tool refuses with; empty when accepted
    // The figure text before each edit, the last edit last, and the edits
    // taken back, the last taken back last: undo and redo walk these.
    std::vector<nlohmann::json> undoStates, redoStates;
    std::string savedText;  // the source file's text as last read or saved

    // Replaces the text with next as one edit (undo takes it back whole) and
    // checks the figure again. A continuing edit (a drag's moves after its
    // first) joins the edit before it, so a drag undoes in one step.
    void edit(nlohmann::json next, bool continuing = false);

    // Takes back the last edit, or makes again the last taken back, and
    // checks the figure again. Return false, changing nothing, when there is
    // none.
    bool undo();
    bool redo();

    // Whether saving would change the source file.
    bool modified() const;

    // Writes the text into the source file in the workshop's stable layout
    // (see figureSourceText) and, when gameDirectory is given, the figure's
    // game files there as amber-rigtool build-figure would. The source is
    // written even while the game refuses the figure, the game files never
    // then. Returns false with error when a file cannot be written or the
    // game files were held back.
    bool save(const std::filesystem::path* gameDirectory, std::string& error);

    // Reads the figure source at path and checks it. Returns false with error
    // "<path>: cannot be opened" or "<path>: is not valid JSON"; a figure
    // that is read but refused returns true with refusal set.
    bool open(const std::string& path, std::string& error);

    // Compiles the text and holds it to the game's loaders, naming its files
    // as the game would ("resources\<name>\body.jrig"), limbs drawn too.
    // Returns whether it is accepted; refusal says why not.
    bool check();

    // Sets the pivot, offset, angle (radians), limb and layer of bone
    // (an index into the text's "bones") in the text from record, as one edit
    // (see edit). Does nothing for an index outside the bones.
    void setBone(std::size_t bone, const BoneRecord& record, bool continuing = false);

    // Sets key index of clip ("idle" or "attack") in the text from key (its
    // bone by name when the bone has one), as one edit (see edit), and puts
    // the clip's keys back in start order, as the game plays them, keys of
    // one start keeping their order. Returns the key's index after that, or
    // -1, changing nothing, for a key or clip the text does not hold.
    int setKey(const std::string& clip, std::size_t index, const Keyframe& key, bool continuing = false);

    // Adds key to clip after every key starting at or before it, as one
    // edit. Returns its index, or -1 when the text has no such clip list.
    int addKey(const std::string& clip, const Keyframe& key);

    // Deletes key index of clip, as one edit; nothing for one not held.
    void deleteKey(const std::string& clip, std::size_t index);

    // The bone edits of bone_edits.h, each as one edit (see edit); on a
    // refusal they return -1 or false with error and change nothing.
    // addBone returns the new bone's index.
    int addBone(std::size_t parent, std::string& error);
    bool deleteBone(std::size_t bone, std::string& error);
    bool reparentBone(std::size_t bone, std::size_t parent, std::string& error);

    // The name the text gives bone, or "bone <i>" when it gives none.
    std::string boneName(std::size_t bone) const;

    // The game folder this figure is loaded from, "resources\<name>".
    std::string gameFolder() const;

    // Writes the game's files of an accepted figure into directory, the same
    // bytes as amber-rigtool build-figure. Returns false with error when the
    // figure is refused (nothing written) or a file cannot be written.
    bool writeGameFiles(const std::filesystem::path& directory, std::string& error) const;
};
