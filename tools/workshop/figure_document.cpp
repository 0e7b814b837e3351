#include "figure_document.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "bone_edits.h"
#include "figure_writer.h"
#include "media/content.h"

bool FigureDocument::open(const std::string& path, std::string& error) {
    nlohmann::json read;
    if (!readFigureSource(path, read, error)) return false;
    source = path;
    text = std::move(read);
    std::ifstream in(path, std::ios::binary);
    savedText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    undoStates.clear();
    redoStates.clear();
    check();
    return true;
}

void FigureDocument::edit(nlohmann::json next, bool continuing) {
    if (!continuing || undoStates.empty()) undoStates.push_back(std::move(text));
    redoStates.clear();
    text = std::move(next);
    check();
}

// Undo and redo are one move: the current text goes onto one stack and the
// other stack's last state becomes current.
static bool moveState(std::vector<nlohmann::json>& from, std::vector<nlohmann::json>& to, nlohmann::json& text) {
    if (from.empty()) return false;
    to.push_back(std::move(text));
    text = std::move(from.back());
    from.pop_back();
    return true;
}

bool FigureDocument::undo() {
    if (!moveState(undoStates, redoStates, text)) return false;
    check();
    return true;
}

bool FigureDocument::redo() {
    if (!moveState(redoStates, undoStates, text)) return false;
    check();
    return true;
}

bool FigureDocument::modified() const { return figureSourceText(text) != savedText; }

bool FigureDocument::save(const std::filesystem::path* gameDirectory, std::string& error) {
    const std::string written = figureSourceText(text);
    // Written beside the source and renamed over it, so a failed write never
    // leaves half a figure behind.
    const std::string partial = source + ".saving";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << written;
        if (!out.flush()) {
            error = source + ": cannot be written";
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, source, renamed);
    if (renamed) {
        std::filesystem::remove(partial, renamed);
        error = source + ": cannot be written";
        return false;
    }
    savedText = written;
    return !gameDirectory || writeGameFiles(*gameDirectory, error);
}

void FigureDocument::setBone(std::size_t bone, const BoneRecord& record, bool continuing) {
    if (!text.contains("bones") || !text["bones"].is_array() || bone >= text["bones"].size()) return;
    nlohmann::json next = text;
    nlohmann::json& entry = next["bones"][bone];
    if (!entry.is_object()) return;
    entry["pivot"] = {record.pivotX, record.pivotY};
    entry["offset"] = {record.offsetX, record.offsetY};
    if (!entry.contains("angle") || !holdsAngle(entry["angle"], record.angle)) entry["angle"] = angleText(record.angle);
    entry["limb"] = record.limbIndex;
    entry["layer"] = record.layer;
    if (next != text) edit(std::move(next), continuing);
}

std::string FigureDocument::boneName(std::size_t bone) const {
    const nlohmann::json& bones = text["bones"];
    if (bones.is_array() && bone < bones.size() && bones[bone].contains("name") && bones[bone]["name"].is_string())
        return bones[bone]["name"].get<std::string>();
    return "bone " + std::to_string(bone);
}

std::string FigureDocument::gameFolder() const {
    return resourcePath(std::filesystem::path(source).stem().string());
}

bool FigureDocument::check() {
    std::string error;
    const char* kind = kFigureSourceError;
    const std::string folder = gameFolder();
    const auto nameOf = [&](std::string_view file) { return gamePath(folder, file); };
    CompiledFigure figure;
    const bool built = compileFigure(text, source, nameOf, figure, kind, error);
    // The limbs are drawn as the build draws them, so a missing picture is found here too.
    if (built) kind = kFigureSourceError;
    if (!built || !drawFigureLimbs(text, source, nullptr, error)) {
        refusal = std::string(kind) + error;
        return false;
    }
    compiled = std::move(figure);
    refusal.clear();
    return true;
}

bool FigureDocument::writeGameFiles(const std::filesystem::path& directory, std::string& error) const {
    if (!refusal.empty()) {
        error = "not written while the game refuses the figure: " + refusal;
        return false;
    }
    return writeFigureFiles(compiled, text, source, directory, error);
}

namespace {

std::int64_t startOf(const nlohmann::json& key) {
    return key.is_object() && key.contains("start") && key["start"].is_number_integer() ? key["start"].get<std::int64_t>()
                                                                                       : 0;
}

}  // namespace

int FigureDocument::setKey(const std::string& clip, std::size_t index, const Keyframe& key, bool continuing) {
    if (!text.contains(clip) || !text[clip].is_array() || index >= text[clip].size() || !text[clip][index].is_object())
        return -1;
    nlohmann::json next = text;
    nlohmann::json& keys = next[clip];
    nlohmann::json& entry = keys[index];
    const std::size_t bone = static_cast<std::size_t>(std::max(key.boneIndex, 0));
    const bool named = text.contains("bones") && text["bones"].is_array() && bone < text["bones"].size() &&
                       text["bones"][bone].is_object() && text["bones"][bone].contains("name");
    entry["bone"] = named ? text["bones"][bone]["name"] : nlohmann::json(key.boneIndex);
    entry["start"] = key.startFrame;
    entry["duration"] = key.duration;
    if (!entry.contains("angle") || !holdsAngle(entry["angle"], key.targetAngle)) entry["angle"] = angleText(key.targetAngle);
    // Marked so that it is found again after the sort.
    std::vector<nlohmann::json> sorted(keys.begin(), keys.end());
    sorted[index]["\u0001"] = true;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const nlohmann::json& a, const nlohmann::json& b) { return startOf(a) < startOf(b); });
    int found = -1;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (sorted[i].is_object() && sorted[i].contains("\u0001")) {
            sorted[i].erase("\u0001");
            found = static_cast<int>(i);
        }
    }
    keys = sorted;
    if (next != text) edit(std::move(next), continuing);
    return found;
}

int FigureDocument::addKey(const std::string& clip, const Keyframe& key) {
    if (!text.contains(clip) || !text[clip].is_array()) return -1;
    nlohmann::json next = text;
    nlohmann::json& keys = next[clip];
    std::size_t at = 0;
    while (at < keys.size() && startOf(keys[at]) <= key.startFrame) ++at;
    keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(at), nlohmann::json::object());
    edit(std::move(next));
    // The new key's fields, set as part of the same edit.
    return setKey(clip, at, key, true);
}

void FigureDocument::deleteKey(const std::string& clip, std::size_t index) {
    if (!text.contains(clip) || !text[clip].is_array() || index >= text[clip].size()) return;
    nlohmann::json next = text;
    next[clip].erase(index);
    edit(std::move(next));
}

int FigureDocument::addBone(std::size_t parent, std::string& error) {
    nlohmann::json next = text;
    const int added = addBoneTo(next, parent, error);
    if (added >= 0) edit(std::move(next));
    return added;
}

bool FigureDocument::deleteBone(std::size_t bone, std::string& error) {
    nlohmann::json next = text;
    if (!deleteBoneFrom(next, bone, error)) return false;
    edit(std::move(next));
    return true;
}

bool FigureDocument::reparentBone(std::size_t bone, std::size_t parent, std::string& error) {
    nlohmann::json next = text;
    if (!reparentBoneIn(next, bone, parent, error)) return false;
    if (next != text) edit(std::move(next));
    return true;
}
