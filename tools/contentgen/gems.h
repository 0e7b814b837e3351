#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace contentgen {

constexpr int kGemFrameSize = 32;   // pixels, square frames
constexpr int kGemCount = 6;        // piece colours 0..5
constexpr int kGemFrameCount = kPieceFrameCount;  // the six colours plus the special block

// Outline of one gem, in pixels around the frame centre. A regular polygon
// (or a star when innerRadius > 0); sides == 0 means a circle.
struct GemShape {
  int sides = 0;
  float radius = 14.0f;        // circumradius (circle radius), pixels
  float innerRadius = 0.0f;    // star valleys, pixels; 0 for a plain polygon
  float rotationDeg = 0.0f;    // 0 puts the first corner straight up
  float scaleX = 1.0f;         // horizontal squash, e.g. a slim diamond
  float offsetY = 0.0f;        // shifts the outline down to balance it in the frame
};

// How one piece colour looks: its colour, its outline (so the colour is never
// the only clue), and how its surface catches the light.
struct GemStyle {
  Colour base;
  GemShape shape;
  bool dome = false;        // smooth rounded top instead of flat table and facets
  float bevel = 4.0f;       // facet band width, pixels (faceted gems only)
  float glintX = -4.0f;     // white sparkle centre, pixels from the frame centre
  float glintY = -4.0f;
};

// A straight stroke of the glowing rune, frame pixel coordinates.
struct RuneStroke {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The special block: dark brushed steel with a glowing amber rune.
struct SpecialStyle {
  Colour steel;
  Colour steelLight;
  Colour steelDark;
  Colour edge;
  Colour glow;
  Colour glowCore;
  std::vector<RuneStroke> rune;
  std::uint32_t seed = 1;
};

// Everything the piece sheet is drawn from.
struct GemSheetStyle {
  std::vector<GemStyle> gems;   // exactly kGemCount
  SpecialStyle special;
  float lightX = -0.55f, lightY = -0.65f, lightZ = 0.75f;  // towards the light; y grows downwards
};

// Signed distance in pixels from the point (x, y), relative to the frame centre,
// to the outline: negative inside.
float gemSignedDistance(const GemShape& shape, float x, float y);

// Colour of the gem at (x, y), pixels from the frame centre, for a point
// inside its outline: the dark rim within rimWidth of the edge, the lit
// surface further in. What every gem frame is painted with, at any scale.
Colour gemColourAt(const GemStyle& style, float lightX, float lightY, float lightZ, float x, float y,
                   float rimWidth);

// One 32x32 gem frame; outside the outline is the colour key.
RgbImage drawGem(const GemStyle& style, float lightX, float lightY, float lightZ);

// One 32x32 special-block frame; only the four corner pixels are see-through.
RgbImage drawSpecialBlock(const SpecialStyle& style);

// The whole 224x32 piece sheet: gems 0..5 then the special block.
// Throws std::invalid_argument unless exactly kGemCount gems are given.
RgbImage drawGemSheet(const GemSheetStyle& style);

}  // namespace contentgen
