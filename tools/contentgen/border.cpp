#include "border.h"

#include <stdexcept>

#include "noise.h"

namespace contentgen {

namespace {

constexpr float kGrainCell = 4.0f;  // pixels per noise lattice cell; divides the tile
constexpr int kGrainPeriod = static_cast<int>(kBorderTileSize / kGrainCell);

void requireTileableBricks(const BorderStyle& style) {
  const bool widthOk = style.brickWidth >= 4 && kBorderTileSize % style.brickWidth == 0;
  const bool heightOk = style.brickHeight >= 4 && kBorderTileSize % style.brickHeight == 0;
  // Every other course is shifted by half a brick, so the course count must be even
  // for the pattern to line up with the next tile below.
  const bool evenCourses = heightOk && (kBorderTileSize / style.brickHeight) % 2 == 0;
  if (!widthOk || !heightOk || !evenCourses || style.brickWidth % 2 != 0) {
    throw std::invalid_argument("brick size does not tile a 32x32 border square");
  }
}

int wrapTile(int v) { return ((v % kBorderTileSize) + kBorderTileSize) % kBorderTileSize; }

Colour brickPixel(const BorderStyle& style, int x, int y) {
  const int course = y / style.brickHeight;
  const int shiftedX = wrapTile(x + (course % 2) * style.brickWidth / 2);
  const int column = shiftedX / style.brickWidth;
  const int lx = shiftedX % style.brickWidth;
  const int ly = y % style.brickHeight;
  if (lx == style.brickWidth - 1 || ly == style.brickHeight - 1) {
    return scale(style.mortar, 1.0f + (latticeHash(x, y, style.seed + 3) - 0.5f) * style.grain);
  }
  const float tone = 1.0f + (latticeHash(column, course, style.seed) - 0.5f) * 2.0f * style.toneJitter;
  const float grain = periodicValueNoise(x, y, kGrainPeriod, kGrainCell, style.seed + 1) - 0.5f;
  const float fleck = latticeHash(x, y, style.seed + 2) - 0.5f;
  Colour c = scale(style.brick, tone * (1.0f + style.grain * (grain + 0.5f * fleck)));
  if (lx == 0 || ly == 0) c = mix(c, style.brickLight, 0.6f);
  if (lx == style.brickWidth - 2 || ly == style.brickHeight - 2) c = mix(c, style.brickShadow, 0.6f);
  return c;
}

}  // namespace

RgbImage drawBorderTile(const BorderStyle& style) {
  requireTileableBricks(style);
  RgbImage tile = makeImage(kBorderTileSize, kBorderTileSize, {0, 0, 0});
  for (int y = 0; y < kBorderTileSize; ++y) {
    for (int x = 0; x < kBorderTileSize; ++x) {
      setPixel(tile, x, y, toOpaqueRgb(brickPixel(style, x, y)));
    }
  }
  return tile;
}

}  // namespace contentgen
