#pragma once
// Paints a figure's limb images from their drawing instructions: filled
// shapes with an outline and a soft light from the upper left, on the game's
// transparent colour.
#include <SDL.h>
#include <nlohmann/json.hpp>

#include <string>

// Paints the limb described by text ({"size": [w, h], "shapes": [...]}) into a
// new 24-bit surface, transparent pixels exactly (0, 0, 1). Returns null with
// error "<where>: <what>" when the description is malformed.
SDL_Surface* paintLimb(const nlohmann::json& text, const std::string& where, std::string& error);

// Flips a 24-bit surface left to right in place.
void mirrorSurface(SDL_Surface* surface);
