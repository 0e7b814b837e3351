#include "image.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

RgbImage makeImage(int width, int height, Rgb fill) {
  RgbImage image;
  image.width = std::max(width, 0);
  image.height = std::max(height, 0);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, fill);
  return image;
}

Rgb pixelAt(const RgbImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

void setPixel(RgbImage& image, int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  image.pixels[static_cast<std::size_t>(y) * image.width + x] = colour;
}

void blit(RgbImage& target, const RgbImage& source, int dx, int dy) {
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      setPixel(target, dx + x, dy + y, pixelAt(source, x, y));
    }
  }
}

bool sameRgb(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

bool isKey(Rgb colour) { return sameRgb(colour, kColourKey); }

static std::uint8_t toByte(float channel) {
  const float clamped = std::clamp(channel, 0.0f, 1.0f);
  return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

Rgb toOpaqueRgb(Colour colour) {
  Rgb out{toByte(colour.r), toByte(colour.g), toByte(colour.b)};
  if (isKey(out)) out.b = 0;
  return out;
}

Colour toColour(Rgb colour) {
  return {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f};
}

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

}  // namespace contentgen
