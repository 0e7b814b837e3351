#include "svg_picture.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace contentgen {

namespace {

constexpr int kLargestSide = 4096;     // pixels; guards against absurd sizes in a broken file
constexpr std::uint8_t kHalfCovered = 128;

struct HandleUnref {
  void operator()(RsvgHandle* h) const { g_object_unref(h); }
};
using HandlePtr = std::unique_ptr<RsvgHandle, HandleUnref>;

struct SurfaceDestroy {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDestroy {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

[[noreturn]] void failWith(const std::string& path, GError* error, const char* fallback) {
  const std::string why = error ? error->message : fallback;
  if (error) g_error_free(error);
  throw std::runtime_error(path + ": " + why);
}

HandlePtr openSvg(const std::string& path) {
  GError* error = nullptr;
  HandlePtr handle(rsvg_handle_new_from_file(path.c_str(), &error));
  if (!handle) failWith(path, error, "cannot read the SVG");
  return handle;
}

bool wholePixels(double v) { return v >= 1.0 && v <= kLargestSide && v == std::floor(v); }

}  // namespace

PixelSize svgPixelSize(const std::string& path) {
  const HandlePtr handle = openSvg(path);
  double width = 0.0, height = 0.0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || !wholePixels(width) ||
      !wholePixels(height)) {
    throw std::runtime_error(path + ": the <svg> element needs a width and height in whole pixels");
  }
  return {static_cast<int>(width), static_cast<int>(height)};
}

RgbaImage renderSvg(const std::string& path, int width, int height) {
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
    throw std::runtime_error(path + ": cannot be drawn at " + std::to_string(width) + "x" + std::to_string(height));
  }
  const HandlePtr handle = openSvg(path);
  std::unique_ptr<cairo_surface_t, SurfaceDestroy> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  std::unique_ptr<cairo_t, ContextDestroy> cr(cairo_create(surface.get()));
  const RsvgRectangle viewport{0.0, 0.0, static_cast<double>(width), static_cast<double>(height)};
  GError* error = nullptr;
  if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error)) failWith(path, error, "cannot draw");
  cairo_surface_flush(surface.get());

  // Cairo keeps premultiplied alpha in native-endian 32-bit words.
  RgbaImage picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t argb = row[x];
      const unsigned a = argb >> 24;
      std::uint8_t* out = &picture.bytes[(static_cast<std::size_t>(y) * width + x) * 4];
      for (int c = 0; c < 3; ++c) {
        const unsigned premultiplied = (argb >> (16 - 8 * c)) & 0xffu;
        out[c] = a == 0 ? 0 : static_cast<std::uint8_t>(std::min(255u, (premultiplied * 255u + a / 2) / a));
      }
      out[3] = static_cast<std::uint8_t>(a);
    }
  }
  return picture;
}

RgbImage keyTransparent(const RgbaImage& picture) {
  RgbImage image = makeImage(picture.width, picture.height, kColourKey);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = &picture.bytes[(static_cast<std::size_t>(y) * picture.width + x) * 4];
      if (p[3] < kHalfCovered) continue;
      Rgb colour{p[0], p[1], p[2]};
      if (isKey(colour)) colour.b = 0;
      setPixel(image, x, y, colour);
    }
  }
  return image;
}

RgbImage renderKeyedSvg(const std::string& path, int width, int height) {
  const PixelSize size = svgPixelSize(path);
  if (size.width != width || size.height != height) {
    throw std::runtime_error(path + ": is " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                             " pixels, the game needs " + std::to_string(width) + "x" + std::to_string(height));
  }
  return keyTransparent(renderSvg(path, width, height));
}

RgbImage mirrored(const RgbImage& image) {
  RgbImage flipped = image;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) setPixel(flipped, image.width - 1 - x, y, pixelAt(image, x, y));
  }
  return flipped;
}

}  // namespace contentgen
