#include "font.h"

#include <algorithm>
#include <stdexcept>

namespace contentgen {

namespace {

constexpr int kInkRoom = kFontCellSize - 2 * kFontOutline;  // what the ink may span
constexpr std::uint8_t kSolidInk = 100;  // coverage that earns an outline around it

std::uint8_t coverageAt(const GlyphMask& glyph, int x, int y) {
  if (x < 0 || y < 0 || x >= glyph.width || y >= glyph.height) return 0;
  return glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x];
}

bool touchesSolidInk(const GlyphMask& glyph, int x, int y) {
  for (int dy = -kFontOutline; dy <= kFontOutline; ++dy) {
    for (int dx = -kFontOutline; dx <= kFontOutline; ++dx) {
      if (coverageAt(glyph, x + dx, y + dy) >= kSolidInk) return true;
    }
  }
  return false;
}

// Rows that hold ink in any glyph; they share a baseline, so the union is the
// band every cell must show.
InkBox unionRows(const std::vector<GlyphMask>& glyphs) {
  InkBox all;
  for (const GlyphMask& glyph : glyphs) {
    const InkBox box = inkBounds(glyph);
    if (box.empty) continue;
    all.top = all.empty ? box.top : std::min(all.top, box.top);
    all.bottom = all.empty ? box.bottom : std::max(all.bottom, box.bottom);
    all.empty = false;
  }
  return all;
}

}  // namespace

char fontCellCharacter(int cell) {
  if (cell >= 0 && cell < 26) return static_cast<char>('a' + cell);
  if (cell >= 26 && cell < kFontGlyphCount) return static_cast<char>('0' + cell - 26);
  return 0;
}

InkBox inkBounds(const GlyphMask& glyph) {
  InkBox box;
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      if (coverageAt(glyph, x, y) == 0) continue;
      if (box.empty) {
        box = {false, x, y, x, y};
      } else {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  return box;
}

bool glyphsFitCell(const std::vector<GlyphMask>& glyphs) {
  const InkBox rows = unionRows(glyphs);
  if (rows.empty || rows.bottom - rows.top + 1 > kInkRoom) return false;
  return std::all_of(glyphs.begin(), glyphs.end(), [](const GlyphMask& glyph) {
    const InkBox box = inkBounds(glyph);
    return box.empty || box.right - box.left + 1 <= kInkRoom;
  });
}

RgbImage drawOutlinedCell(const GlyphMask& glyph, int left, int top, const FontStyle& style) {
  RgbImage cell = makeImage(kFontCellSize, kFontCellSize, kColourKey);
  for (int y = 0; y < kFontCellSize; ++y) {
    const Colour fill = mix(style.fillTop, style.fillBottom, static_cast<float>(y) / (kFontCellSize - 1));
    for (int x = 0; x < kFontCellSize; ++x) {
      const int gx = x - left, gy = y - top;
      const std::uint8_t ink = coverageAt(glyph, gx, gy);
      if (ink == 0 && !touchesSolidInk(glyph, gx, gy)) continue;
      // Faint antialiased edges melt into the outline rather than into the key,
      // which keeps the letter edge smooth on any background.
      setPixel(cell, x, y, toOpaqueRgb(mix(style.outline, fill, ink / 255.0f)));
    }
  }
  return cell;
}

RgbImage assembleFontSheet(const std::vector<GlyphMask>& glyphs, const FontStyle& style) {
  if (glyphs.size() != static_cast<std::size_t>(kFontGlyphCount)) {
    throw std::invalid_argument("the font sheet needs 36 glyphs");
  }
  if (!glyphsFitCell(glyphs)) throw std::invalid_argument("glyphs are too large for 16x16 cells");
  const InkBox rows = unionRows(glyphs);
  const int inkHeight = rows.bottom - rows.top + 1;
  const int top = (kFontCellSize - inkHeight) / 2 - rows.top;
  RgbImage sheet = makeImage(kFontCellSize * kFontCellCount, kFontCellSize, kColourKey);
  for (int i = 0; i < kFontGlyphCount; ++i) {
    const InkBox box = inkBounds(glyphs[i]);
    const int inkWidth = box.empty ? 0 : box.right - box.left + 1;
    const int left = (kFontCellSize - inkWidth) / 2 - box.left;
    blit(sheet, drawOutlinedCell(glyphs[i], left, top, style), i * kFontCellSize, 0);
  }
  return sheet;
}

}  // namespace contentgen
