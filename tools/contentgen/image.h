#pragma once

#include <cstdint>
#include <vector>

#include "media/content.h"

namespace contentgen {

// One opaque 8-bit-per-channel colour as it is stored in the sheets.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

// Linear-ish working colour, channels nominally 0..1 (may exceed before clamping).
struct Colour {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

// The game treats exactly this colour as "see-through" in every sheet.
constexpr Rgb kColourKey{kColourKeyRed, kColourKeyGreen, kColourKeyBlue};

// A picture held as plain RGB rows, top row first; what every drawing routine
// fills before the SDL layer turns it into a BMP.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height, row-major
};

// Returns a width x height picture filled with `fill`; negative sizes give an empty picture.
RgbImage makeImage(int width, int height, Rgb fill);

// Reads one pixel; (x, y) must lie inside the picture.
Rgb pixelAt(const RgbImage& image, int x, int y);

// Writes one pixel; coordinates outside the picture are ignored so shape
// drawing never has to clip.
void setPixel(RgbImage& image, int x, int y, Rgb colour);

// Copies all of `source` (key pixels included) with its top-left at (dx, dy), clipped.
void blit(RgbImage& target, const RgbImage& source, int dx, int dy);

// Exact channel-by-channel equality.
bool sameRgb(Rgb a, Rgb b);

// True for the transparent key colour.
bool isKey(Rgb colour);

// Clamps to 0..255 and rounds. A result that would collide with the key is
// nudged to pure black, so an opaque pixel can never turn see-through.
Rgb toOpaqueRgb(Colour colour);

// Converts a stored pixel back to 0..1 channels.
Colour toColour(Rgb colour);

// Blends a towards b: t = 0 gives a, t = 1 gives b.
Colour mix(Colour a, Colour b, float t);

// Multiplies every channel by `factor`.
Colour scale(Colour colour, float factor);

// Rec. 601 luma in 0..1; the "lightness" the sheets are judged by.
float luma(Colour colour);

// Hue in degrees 0..360; 0 for greys.
float hueDegrees(Colour colour);

}  // namespace contentgen
