#include "figure_document.h"

#include "media/content.h"

bool FigureDocument::open(const std::string& path, std::string& error) {
    nlohmann::json read;
    if (!readFigureSource(path, read, error)) return false;
    source = path;
    text = std::move(read);
    check();
    return true;
}

void FigureDocument::setBone(std::size_t bone, const BoneRecord& record) {
    if (!text.contains("bones") || !text["bones"].is_array() || bone >= text["bones"].size()) return;
    nlohmann::json& entry = text["bones"][bone];
    entry["pivot"] = {record.pivotX, record.pivotY};
    entry["offset"] = {record.offsetX, record.offsetY};
    // A float widened to double reads back as the same float.
    entry["angle"] = static_cast<double>(record.angle);
    entry["limb"] = record.limbIndex;
    entry["layer"] = record.layer;
    check();
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
