#pragma once
// Watching a figure's limb pictures on disk: when an artist saves an SVG (in
// Inkscape, say), the workshop draws the figure again from it at once. A
// picture that cannot be drawn leaves the stage with the last good pictures
// and the figure refused until it is mended.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "figure_document.h"

inline constexpr std::uint32_t kLimbPollMillis = 1000;  // between two looks at the pictures

// One picture as last seen: when it was written and how long it was; a
// missing file is seen as present false.
struct WatchedPicture {
    std::filesystem::path path;
    bool present = false;
    std::filesystem::file_time_type written{};
    std::uintmax_t size = 0;

    bool operator==(const WatchedPicture&) const = default;
};

struct LimbWatch {
    std::vector<WatchedPicture> pictures;
    std::uint32_t lastPollMs = 0;

    // Notes, as they are now, the SVG pictures that text's limbs name
    // (relative to the folder of source); a mirrored limb has none of its own.
    // nowMs starts the wait for the next poll.
    void watch(const nlohmann::json& text, const std::string& source, std::uint32_t nowMs);

    // Once kLimbPollMillis have passed since the last look (nowMs on the same
    // clock, SDL_GetTicks in the window), looks again and returns whether a
    // picture was written, resized, removed or came back since; else false
    // without looking.
    bool poll(std::uint32_t nowMs);
};

// What a poll of the pictures did to the figure.
enum class LimbReload {
    unchanged,  // no picture changed, or not yet time to look
    reloaded,   // a picture changed and the figure, checked again, is accepted: rebuild the stage from it
    broken,     // a picture changed and the figure is refused (document.refusal says why)
};

// Polls watch and, when a picture changed, checks document again, which
// draws every limb afresh; document.compiled keeps the last accepted figure
// when it is refused.
LimbReload reloadChangedLimbs(LimbWatch& watch, FigureDocument& document, std::uint32_t nowMs);
