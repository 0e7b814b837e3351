#pragma once

#include <cstdint>

#include "image.h"
#include "media/content.h"  // kBorderTileSize

namespace contentgen {

// Warm stone bricks framing the playfield.
struct BorderStyle {
  int brickWidth = 16;    // pixels; must divide the tile
  int brickHeight = 8;    // pixels; must divide the tile into an even number of courses
  Colour brick;
  Colour brickLight;      // lit top/left edge of each brick
  Colour brickShadow;     // shaded bottom/right edge
  Colour mortar;
  float toneJitter = 0.08f;  // per-brick brightness spread, fraction
  float grain = 0.12f;       // texture strength, fraction
  std::uint32_t seed = 1;
};

// One 32x32 fully opaque tile that repeats without seams in both directions.
// Throws std::invalid_argument for brick sizes that cannot tile the square.
RgbImage drawBorderTile(const BorderStyle& style);

}  // namespace contentgen
