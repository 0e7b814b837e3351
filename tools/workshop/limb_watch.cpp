#include "limb_watch.h"

namespace {

WatchedPicture seen(const std::filesystem::path& path) {
    WatchedPicture picture;
    picture.path = path;
    std::error_code error;
    picture.written = std::filesystem::last_write_time(path, error);
    if (error) return picture;
    picture.size = std::filesystem::file_size(path, error);
    picture.present = !error;
    return picture;
}

}  // namespace

void LimbWatch::watch(const nlohmann::json& text, const std::string& source, std::uint32_t nowMs) {
    pictures.clear();
    lastPollMs = nowMs;
    if (!text.is_object() || !text.contains("limbs") || !text["limbs"].is_array()) return;
    const std::filesystem::path folder = std::filesystem::path(source).parent_path();
    for (const nlohmann::json& limb : text["limbs"]) {
        if (limb.is_object() && limb.contains("picture") && limb["picture"].is_string())
            pictures.push_back(seen(folder / limb["picture"].get<std::string>()));
    }
}

bool LimbWatch::poll(std::uint32_t nowMs) {
    if (nowMs - lastPollMs < kLimbPollMillis) return false;
    lastPollMs = nowMs;
    bool changed = false;
    for (WatchedPicture& picture : pictures) {
        WatchedPicture now = seen(picture.path);
        if (now == picture) continue;
        picture = std::move(now);
        changed = true;
    }
    return changed;
}

LimbReload reloadChangedLimbs(LimbWatch& watch, FigureDocument& document, std::uint32_t nowMs) {
    if (!watch.poll(nowMs)) return LimbReload::unchanged;
    return document.check() ? LimbReload::reloaded : LimbReload::broken;
}
