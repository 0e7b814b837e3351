#pragma once
// Where one posed bone's limb image lands on screen: pure arithmetic, no
// renderer, so that posing can be checked without drawing.
#include <SDL_rect.h>

#include <cstdint>

struct Bone;

// SDL wants degrees; this exact factor (not 180/pi) is what the figures were
// made against.
inline constexpr double kDegreesPerRadian = 57.29577;

// Destination rectangle, centre of rotation (relative to the rectangle) and
// clockwise angle in degrees for one SDL_RenderCopyEx of a limb.
struct LimbPlacement {
    SDL_Rect destination;
    SDL_Point centre;
    double degrees;
};

// Truncates toward zero, as every stored pose value is. Values beyond int32
// (a swollen or hostile figure) stick at the nearest end and NaN gives 0, so
// no conversion is ever undefined.
std::int32_t truncateToInt32(float value);

// Places the limb of a posed bone whose image is imageWidth x imageHeight
// unscaled pixels: the pivot sits on the bone's screen position.
LimbPlacement placeLimb(const Bone& bone, std::int32_t imageWidth, std::int32_t imageHeight);
