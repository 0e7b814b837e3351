#include "figure_build.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "figure_text.h"
#include "media/content.h"
#ifdef AMBER_RIGTOOL_DRAWS_LIMBS
#include "media_io.h"
#include "svg_picture.h"
#endif
#include "skeleton/clip_file.h"

namespace {

using nlohmann::json;

#ifdef AMBER_RIGTOOL_DRAWS_LIMBS
constexpr int kMaxLimbSide = 512;  // pixels

// Draws one limb from the SVG picture its entry names (relative to the figure
// file) at the picture's own size, which the rig's pivots are measured in.
contentgen::RgbImage drawLimb(const json& limb, const std::filesystem::path& folder) {
    if (!limb.is_object() || !limb.contains("picture") || !limb["picture"].is_string())
        throw std::runtime_error("needs a \"picture\" (an SVG file) or \"mirrorOf\"");
    const std::string path = (folder / limb["picture"].get<std::string>()).string();
    const contentgen::PixelSize size = contentgen::svgPixelSize(path);
    if (size.width > kMaxLimbSide || size.height > kMaxLimbSide)
        throw std::runtime_error(path + ": a limb is at most " + std::to_string(kMaxLimbSide) + " pixels a side");
    return contentgen::renderKeyedSvg(path, size.width, size.height);
}
#endif

}  // namespace

bool encodeCheckedRig(const RigFile& rig, const std::string& name, std::vector<std::uint8_t>& bytes,
                      std::string& error) {
    bytes = encodeRig(rig);
    RigFile check;
    return parseRig(bytes, name, check, error);
}

bool encodeCheckedClip(const std::vector<Keyframe>& clip, std::int32_t boneCount, bool attack,
                       const std::string& name, std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes = encodeClip(clip);
    std::vector<Keyframe> check;
    if (!parseClip(bytes, name, boneCount, check, error)) return false;
    return !attack || checkAttackClip(check.size(), name, error);
}

bool readFigureSource(const std::string& path, json& text, std::string& error) {
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

bool compileFigure(const json& text, const std::string& source,
                   const std::function<std::string(std::string_view file)>& nameOf, CompiledFigure& figure,
                   const char*& kind, std::string& error) {
    kind = kFigureSourceError;
    if (!text.is_object() || !text.contains("limbs") || !text["limbs"].is_array()) {
        error = source + ": needs a \"limbs\" list";
        return false;
    }
    for (const char* clipName : {"idle", "attack"}) {
        if (!text.contains(clipName)) {
            error = source + ": needs an \"" + clipName + "\" clip";
            return false;
        }
    }
    const json* bones = text.contains("bones") ? &text["bones"] : nullptr;
    if (!rigFromText(text, source, static_cast<int>(text["limbs"].size()), figure.rig, error) ||
        !clipFromText(text["idle"], source + ": idle", bones, figure.idle, error) ||
        !clipFromText(text["attack"], source + ": attack", bones, figure.attack, error))
        return false;

    kind = kRigLoadError;
    if (!encodeCheckedRig(figure.rig, nameOf(kRigFile), figure.rigBytes, error)) return false;
    kind = kClipLoadError;
    const auto boneCount = static_cast<std::int32_t>(figure.rig.bones.size());
    return encodeCheckedClip(figure.idle, boneCount, false, nameOf(kIdleClipFile), figure.idleBytes, error) &&
           encodeCheckedClip(figure.attack, boneCount, true, nameOf(kAttackClipFile), figure.attackBytes, error);
}

namespace {

bool writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.good()) return true;
    error = path.string() + ": cannot be written";
    return false;
}

}  // namespace

bool writeFigureFiles(const CompiledFigure& figure, const json& text, const std::string& source,
                      const std::filesystem::path& directory, std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(directory, made);
    return writeBytes(directory / kRigFile, figure.rigBytes, error) &&
           writeBytes(directory / kIdleClipFile, figure.idleBytes, error) &&
           writeBytes(directory / kAttackClipFile, figure.attackBytes, error) &&
           drawFigureLimbs(text, source, &directory, error);
}

#ifdef AMBER_RIGTOOL_DRAWS_LIMBS
bool drawFigureLimbs(const json& text, const std::string& source, const std::filesystem::path* directory,
                     std::string& error) {
    const json& limbs = text["limbs"];
    std::vector<contentgen::RgbImage> drawn;
    for (std::size_t i = 0; i < limbs.size(); ++i) {
        const std::string where = source + ": limb " + std::to_string(i);
        try {
            // A limb may be the mirror image of an earlier one (a left and a right arm).
            if (limbs[i].is_object() && limbs[i].contains("mirrorOf")) {
                const json& of = limbs[i]["mirrorOf"];
                if (!of.is_number_unsigned() || of.get<std::size_t>() >= i)
                    throw std::runtime_error("\"mirrorOf\" must name an earlier limb");
                drawn.push_back(contentgen::mirrored(drawn[of.get<std::size_t>()]));
            } else {
                drawn.push_back(drawLimb(limbs[i], std::filesystem::path(source).parent_path()));
            }
            if (directory)
                contentgen::saveBmp((*directory / limbFileName(static_cast<std::int32_t>(i))).string(), drawn.back());
        } catch (const std::exception& e) {
            error = where + ": " + e.what();
            return false;
        }
    }
    return true;
}
#else
// A cross-built rig tool has no SVG painter; figures come from the native build.
bool drawFigureLimbs(const json&, const std::string& source, const std::filesystem::path*, std::string& error) {
    error = source + ": this rig tool was built without the limb painter";
    return false;
}
#endif
