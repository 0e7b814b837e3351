#pragma once
// Onion skin: the stage's frame drawn as the game draws it, with the frames a
// few before and after it faint behind, tinted apart, so an animator sees
// where a limb comes from and goes to.
#include <SDL.h>

#include <cstdint>

#include "stage.h"

inline constexpr std::uint8_t kOnionAlpha = 90;                    // of 255: how faint a ghost frame is
inline constexpr SDL_Color kOnionBeforeTint = {120, 170, 255, 255};  // the frame before: blue
inline constexpr SDL_Color kOnionAfterTint = {255, 170, 110, 255};   // the frame after: orange

struct OnionSkin {
    std::int32_t spacing = 4;  // frames between the shown frame and each ghost, at least 1
    SDL_Texture* before = nullptr;  // the ghosts, drawn here first; made on the first draw
    SDL_Texture* after = nullptr;

    // The ghosts' frames: spacing before and after the stage's frame, held
    // inside its clip; a ghost that would be the shown frame itself is -1.
    std::int32_t beforeFrame(const Stage& stage) const;
    std::int32_t afterFrame(const Stage& stage) const;

    // Draws the stage (which needs a figure) onto the renderer's current
    // target, width by height pixels: the game's grey, the two ghosts, then
    // the shown frame exactly as Stage::draw draws it. Returns false (SDL's
    // error says why), the stage drawn without ghosts, when a ghost texture
    // cannot be made.
    bool draw(SDL_Renderer* renderer, Stage& stage, int width, int height);

    // Frees the ghost textures; before the renderer goes.
    void release();
};
