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
