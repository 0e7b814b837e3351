#pragma once

#include <cstdint>
#include <vector>

#include "gems.h"

namespace contentgen {

// A picture with straight (not premultiplied) alpha, top row first; what the
// desktop's icon files hold.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 4: r, g, b, a
};

// One gem as a size x size desktop icon: its 32-pixel frame drawn larger or
// smaller, with the edge smoothed into the alpha channel instead of the colour
// key, and the rim never thinner than one icon pixel.
RgbaImage drawGemIcon(const GemStyle& style, float lightX, float lightY, float lightZ, int size);

}  // namespace contentgen
