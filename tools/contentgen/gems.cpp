#include "gems.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "noise.h"

namespace contentgen {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kSupersample = 4;        // per axis, for deciding which edge pixels are solid
constexpr float kRimWidth = 1.0f;      // dark outline, pixels (the glint keeps clear of it)
constexpr float kRimDarkness = 0.32f;  // rim = base * this, so gems pop off any background
constexpr float kBevelTilt = 0.9f;     // facet slope, radians from flat
constexpr float kAmbient = 0.42f;
constexpr float kDiffuse = 0.78f;
constexpr float kDomeShininess = 28.0f;
constexpr float kDomeSheen = 0.75f;
constexpr float kGlintRadius = 1.9f;   // Gaussian sigma, pixels
constexpr float kGlintStrength = 0.95f;
constexpr float kFrameCentre = kGemFrameSize / 2.0f;

struct Vec3 {
  float x, y, z;
};

Vec3 normalised(Vec3 v) {
  const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return len > 0.0f ? Vec3{v.x / len, v.y / len, v.z / len} : Vec3{0, 0, 1};
}

float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Point {
  float x, y;
};

std::vector<Point> outlineCorners(const GemShape& shape) {
  const bool star = shape.innerRadius > 0.0f;
  const int count = star ? shape.sides * 2 : shape.sides;
  std::vector<Point> corners;
  for (int i = 0; i < count; ++i) {
    const float angle = (shape.rotationDeg - 90.0f) * kPi / 180.0f + 2.0f * kPi * i / count;
    const float r = (star && i % 2 == 1) ? shape.innerRadius : shape.radius;
    corners.push_back({r * std::cos(angle) * shape.scaleX, r * std::sin(angle)});
  }
  return corners;
}

float distanceToSegment(Point p, Point a, Point b) {
  const float abx = b.x - a.x, aby = b.y - a.y;
  const float t = std::clamp(((p.x - a.x) * abx + (p.y - a.y) * aby) / (abx * abx + aby * aby), 0.0f, 1.0f);
  const float dx = p.x - (a.x + abx * t), dy = p.y - (a.y + aby * t);
  return std::sqrt(dx * dx + dy * dy);
}

// Even-odd rule; good for simple polygons such as our stars.
bool insidePolygon(const std::vector<Point>& corners, Point p) {
  bool inside = false;
  for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const Point a = corners[i], b = corners[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

float polygonSignedDistance(const std::vector<Point>& corners, Point p) {
  float nearest = 1e9f;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    nearest = std::min(nearest, distanceToSegment(p, corners[i], corners[(i + 1) % corners.size()]));
  }
  return insidePolygon(corners, p) ? -nearest : nearest;
}

float coverage(const GemShape& shape, int px, int py) {
  int inside = 0;
  for (int sy = 0; sy < kSupersample; ++sy) {
    for (int sx = 0; sx < kSupersample; ++sx) {
      const float x = px + (sx + 0.5f) / kSupersample - kFrameCentre;
      const float y = py + (sy + 0.5f) / kSupersample - kFrameCentre;
      if (gemSignedDistance(shape, x, y) < 0.0f) ++inside;
    }
  }
  return static_cast<float>(inside) / (kSupersample * kSupersample);
}

// Surface direction at a point: flat table in the middle, sloped facets facing
// away from the centre near the edge, or a smooth dome.
Vec3 surfaceNormal(const GemStyle& style, float x, float y, float depth) {
  if (style.dome) {
    const float r = style.shape.radius;
    const float nx = x / r, ny = (y - style.shape.offsetY) / r;
    return normalised({nx, ny, std::sqrt(std::max(0.05f, 1.0f - nx * nx - ny * ny))});
  }
  if (depth >= style.bevel) return {0, 0, 1};
  constexpr float kStep = 0.5f;
  const float gx = gemSignedDistance(style.shape, x + kStep, y) - gemSignedDistance(style.shape, x - kStep, y);
  const float gy = gemSignedDistance(style.shape, x, y + kStep) - gemSignedDistance(style.shape, x, y - kStep);
  const float len = std::sqrt(gx * gx + gy * gy);
  if (len < 1e-4f) return {0, 0, 1};
  const float s = std::sin(kBevelTilt);
  return {gx / len * s, gy / len * s, std::cos(kBevelTilt)};
}

Colour shadeGemPixel(const GemStyle& style, Vec3 light, float x, float y, float depth) {
  const Vec3 n = surfaceNormal(style, x, y, depth);
  const float diffuse = std::max(0.0f, dot(n, light));
  Colour c = scale(style.base, kAmbient + kDiffuse * diffuse);
  if (style.dome) {
    const Vec3 halfway = normalised({light.x, light.y, light.z + 1.0f});
    const float sheen = std::pow(std::max(0.0f, dot(n, halfway)), kDomeShininess) * kDomeSheen;
    c = mix(c, {1, 1, 1}, std::min(1.0f, sheen));
  }
  // The glint stays off the rim so the outline never breaks.
  const float gx = x - style.glintX, gy = y - style.glintY;
  const float glint = kGlintStrength * std::exp(-(gx * gx + gy * gy) / (2.0f * kGlintRadius * kGlintRadius));
  if (depth > kRimWidth + 0.5f) c = mix(c, {1, 1, 1}, glint);
  return c;
}

// Rune light falls off with distance from the nearest stroke.
float runeDistance(const std::vector<RuneStroke>& rune, float x, float y) {
  float nearest = 1e9f;
  for (const RuneStroke& s : rune) {
    nearest = std::min(nearest, distanceToSegment({x, y}, {s.x0, s.y0}, {s.x1, s.y1}));
  }
  return nearest;
}

Colour brushedSteel(const SpecialStyle& style, int x, int y) {
  // Light from above: a top-to-bottom gradient plus fine horizontal brushing.
  const float height = static_cast<float>(y) / (kGemFrameSize - 1);
  Colour c = mix(mix(style.steelLight, style.steel, 0.55f), style.steel, height);
  const float streak = (latticeHash(0, y, style.seed) - 0.5f) * 0.10f;
  const float fleck = (latticeHash(x, y, style.seed + 7) - 0.5f) * 0.05f;
  return scale(c, 1.0f + streak + fleck);
}

constexpr int kSteelBevel = 2;  // pixels of lit/shadowed edge inside the outline

Colour steelEdge(const SpecialStyle& style, int x, int y, Colour inner) {
  const int last = kGemFrameSize - 1;
  const int fromEdge = std::min({x, y, last - x, last - y});
  if (fromEdge == 0) return style.edge;
  if (fromEdge > kSteelBevel) return inner;
  // Top and left catch the light, bottom and right fall into shadow.
  const bool lit = std::min(x, y) == fromEdge;
  return mix(inner, lit ? style.steelLight : style.steelDark, 0.75f);
}

Colour rivet(const SpecialStyle& style, int x, int y, Colour under) {
  constexpr int kInset = 5;
  constexpr float kRadius = 1.7f;
  const int last = kGemFrameSize - 1;
  for (int cy : {kInset, last - kInset}) {
    for (int cx : {kInset, last - kInset}) {
      const float dx = x - cx, dy = y - cy;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d <= kRadius) {
        return (dx + dy < 0) ? style.steelLight : mix(style.steelDark, style.steel, 0.4f);
      }
    }
  }
  return under;
}

Colour runeGlow(const SpecialStyle& style, int x, int y, Colour under) {
  const float px = x + 0.5f, py = y + 0.5f;
  const float d = runeDistance(style.rune, px, py);
  const float cx = px - kFrameCentre, cy = py - kFrameCentre;
  const float halo = 0.28f * std::exp(-(cx * cx + cy * cy) / (2.0f * 7.0f * 7.0f));
  Colour c = mix(under, style.glow, halo);
  c = mix(c, style.glow, std::min(1.0f, 0.85f * std::exp(-d / 1.3f)));
  return mix(c, style.glowCore, std::clamp(1.2f - d, 0.0f, 1.0f));
}

bool isRoundedCorner(int x, int y) {
  const int last = kGemFrameSize - 1;
  return (x == 0 || x == last) && (y == 0 || y == last);
}

std::vector<bool> solidPixels(const GemShape& shape) {
  std::vector<bool> solid(kGemFrameSize * kGemFrameSize);
  for (int py = 0; py < kGemFrameSize; ++py) {
    for (int px = 0; px < kGemFrameSize; ++px) solid[py * kGemFrameSize + px] = coverage(shape, px, py) >= 0.5f;
  }
  return solid;
}

bool solidAt(const std::vector<bool>& solid, int x, int y) {
  return x >= 0 && y >= 0 && x < kGemFrameSize && y < kGemFrameSize && solid[y * kGemFrameSize + x];
}

// The rim is every solid pixel beside a see-through one, so the outline is one
// unbroken pixel wide whatever sub-pixel position the edge happens to have.
bool onRim(const std::vector<bool>& solid, int x, int y) {
  return !solidAt(solid, x - 1, y) || !solidAt(solid, x + 1, y) || !solidAt(solid, x, y - 1) ||
         !solidAt(solid, x, y + 1);
}

}  // namespace

float gemSignedDistance(const GemShape& shape, float x, float y) {
  const float ly = y - shape.offsetY;
  if (shape.sides == 0) {
    const float sx = x / shape.scaleX;
    return std::sqrt(sx * sx + ly * ly) - shape.radius;
  }
  return polygonSignedDistance(outlineCorners(shape), {x, ly});
}

Colour gemColourAt(const GemStyle& style, float lightX, float lightY, float lightZ, float x, float y,
                   float rimWidth) {
  const float depth = -gemSignedDistance(style.shape, x, y);
  if (depth < rimWidth) return scale(style.base, kRimDarkness);
  return shadeGemPixel(style, normalised({lightX, lightY, lightZ}), x, y, depth);
}

RgbImage drawGem(const GemStyle& style, float lightX, float lightY, float lightZ) {
  const Vec3 light = normalised({lightX, lightY, lightZ});
  const std::vector<bool> solid = solidPixels(style.shape);
  RgbImage frame = makeImage(kGemFrameSize, kGemFrameSize, kColourKey);
  for (int py = 0; py < kGemFrameSize; ++py) {
    for (int px = 0; px < kGemFrameSize; ++px) {
      if (!solidAt(solid, px, py)) continue;
      const float x = px + 0.5f - kFrameCentre, y = py + 0.5f - kFrameCentre;
      const float depth = -gemSignedDistance(style.shape, x, y);
      const Colour c = onRim(solid, px, py) ? scale(style.base, kRimDarkness) : shadeGemPixel(style, light, x, y, depth);
      setPixel(frame, px, py, toOpaqueRgb(c));
    }
  }
  return frame;
}

RgbImage drawSpecialBlock(const SpecialStyle& style) {
  RgbImage frame = makeImage(kGemFrameSize, kGemFrameSize, kColourKey);
  for (int y = 0; y < kGemFrameSize; ++y) {
    for (int x = 0; x < kGemFrameSize; ++x) {
      if (isRoundedCorner(x, y)) continue;
      Colour c = brushedSteel(style, x, y);
      c = rivet(style, x, y, c);
      c = runeGlow(style, x, y, c);
      c = steelEdge(style, x, y, c);
      setPixel(frame, x, y, toOpaqueRgb(c));
    }
  }
  return frame;
}

RgbImage drawGemSheet(const GemSheetStyle& style) {
  if (style.gems.size() != static_cast<std::size_t>(kGemCount)) {
    throw std::invalid_argument("the piece sheet needs exactly six gems");
  }
  RgbImage sheet = makeImage(kGemFrameSize * kGemFrameCount, kGemFrameSize, kColourKey);
  for (int i = 0; i < kGemCount; ++i) {
    blit(sheet, drawGem(style.gems[i], style.lightX, style.lightY, style.lightZ), i * kGemFrameSize, 0);
  }
  blit(sheet, drawSpecialBlock(style.special), kGemCount * kGemFrameSize, 0);
  return sheet;
}

}  // namespace contentgen
