#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"
#include "media/content.h"  // kFontCellSize, kFontCellCount

namespace contentgen {

constexpr int kFontGlyphCount = 36;   // cells that carry a character
constexpr int kFontOutline = 1;       // dark outline thickness, pixels

// Antialiased ink of one character as the font rasteriser gave it: 0 = none,
// 255 = full. All glyphs of one sheet share height and baseline position.
struct GlyphMask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, row-major
};

// Pale letters with a dark outline, so text reads on the grey playfield.
struct FontStyle {
  std::string fontPath;      // a TrueType file
  int largestPointSize = 20; // the rasteriser tries sizes from here downwards
  Colour fillTop;            // letter colour at the top of the cell
  Colour fillBottom;         // ... and at the bottom, for a gentle sheen
  Colour outline;
};

// Ink bounding box; empty when no pixel has any coverage.
struct InkBox {
  bool empty = true;
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
};

// The character drawn in font cell `cell` (0..35); 0 for the blank cell and beyond.
char fontCellCharacter(int cell);

// Ink bounds of one glyph.
InkBox inkBounds(const GlyphMask& glyph);

// True when every glyph's ink, with its outline, fits a cell: the common ink
// height (baseline kept) and each glyph's width leave room for the outline.
bool glyphsFitCell(const std::vector<GlyphMask>& glyphs);

// One 16x16 cell: the glyph's ink placed with its mask origin at (left, top),
// filled with the style's gradient, ringed by the outline colour; everything
// else is the colour key. Ink falling outside the cell is cut off.
RgbImage drawOutlinedCell(const GlyphMask& glyph, int left, int top, const FontStyle& style);

// The 592x16 font sheet from the 36 glyphs ('a'..'z', '0'..'9' in order): each
// centred across its cell, all sharing one baseline, the last cell blank.
// Throws std::invalid_argument for a wrong glyph count or glyphs that do not fit.
RgbImage assembleFontSheet(const std::vector<GlyphMask>& glyphs, const FontStyle& style);

}  // namespace contentgen
