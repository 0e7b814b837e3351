#pragma once
// Every picture of the game is drawn in an SVG file under content/, editable in
// any vector editor, and rasterised here with librsvg. The game's sheets have
// no alpha channel, so see-through parts become the colour key.

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace contentgen {

// A picture with straight (not premultiplied) alpha, top row first; what the
// desktop's icon files hold.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 4: r, g, b, a
};

// The size an SVG file declares in its width and height attributes, in whole pixels.
struct PixelSize {
  int width = 0;
  int height = 0;
};

// Reads the declared size of the SVG at `path`. Throws std::runtime_error
// "<path>: <fault>" when the file is missing, is not valid SVG, or declares no
// size in whole pixels.
PixelSize svgPixelSize(const std::string& path);

// Rasterises the whole SVG document at `path` scaled into width x height
// pixels (both positive). Throws std::runtime_error "<path>: <fault>" when the
// file is missing, malformed or cannot be drawn.
RgbaImage renderSvg(const std::string& path, int width, int height);

// A keyed sheet: pixels at least half covered keep their colour, the rest
// become the colour key. An opaque pixel that happens to equal the key is
// nudged to black so it can never turn see-through.
RgbImage keyTransparent(const RgbaImage& picture);

// Draws the SVG at its own declared size and keys it. Throws
// std::runtime_error naming the file if that size is not width x height: the
// game cuts sheets and places limbs by their exact pixel sizes.
RgbImage renderKeyedSvg(const std::string& path, int width, int height);

// The picture flipped left to right (a right arm from a left one).
RgbImage mirrored(const RgbImage& image);

}  // namespace contentgen
