#include "icon.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

namespace {

constexpr int kSamples = 4;        // per axis and icon pixel
constexpr float kRimWidth = 1.0f;  // frame pixels, as on the piece sheet

}  // namespace

RgbaImage drawGemIcon(const GemStyle& style, float lightX, float lightY, float lightZ, int size) {
  RgbaImage icon;
  icon.width = icon.height = std::max(size, 0);
  icon.bytes.assign(static_cast<std::size_t>(icon.width) * icon.height * 4, 0);
  const float framePerPixel = static_cast<float>(kGemFrameSize) / static_cast<float>(std::max(size, 1));
  // Below the frame's own size a one-frame-pixel rim would fade into the fill.
  const float rim = std::max(kRimWidth, framePerPixel);
  const float centre = kGemFrameSize / 2.0f;
  for (int py = 0; py < icon.height; ++py) {
    for (int px = 0; px < icon.width; ++px) {
      Colour sum;
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const float x = (px + (sx + 0.5f) / kSamples) * framePerPixel - centre;
          const float y = (py + (sy + 0.5f) / kSamples) * framePerPixel - centre;
          if (gemSignedDistance(style.shape, x, y) >= 0.0f) continue;
          const Colour c = gemColourAt(style, lightX, lightY, lightZ, x, y, rim);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
          ++inside;
        }
      }
      if (inside == 0) continue;
      const Rgb rgb = toOpaqueRgb(scale(sum, 1.0f / static_cast<float>(inside)));
      std::uint8_t* p = &icon.bytes[(static_cast<std::size_t>(py) * icon.width + px) * 4];
      p[0] = rgb.r;
      p[1] = rgb.g;
      p[2] = rgb.b;
      p[3] = static_cast<std::uint8_t>(std::lround(255.0f * inside / (kSamples * kSamples)));
    }
  }
  return icon;
}

}  // namespace contentgen
