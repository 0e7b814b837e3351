#include "media_io.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <utility>

#include "ima_adpcm.h"
#include "synth.h"

namespace contentgen {

namespace {

constexpr int kSmallestPointSize = 6;

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

struct FontClose {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
using FontPtr = std::unique_ptr<TTF_Font, FontClose>;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what + ": " + SDL_GetError()); }

// RGB24 keeps three bytes per pixel in R, G, B order, so the key colour stays
// exactly (0, 0, 1) with no palette or alpha channel in between.
SurfacePtr surfaceFrom(const RgbImage& image) {
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 24, SDL_PIXELFORMAT_RGB24));
  if (!surface) fail("cannot make a picture surface");
  auto* bytes = static_cast<std::uint8_t*>(surface->pixels);
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* row = bytes + static_cast<std::ptrdiff_t>(y) * surface->pitch;
    for (int x = 0; x < image.width; ++x) {
      const Rgb p = pixelAt(image, x, y);
      row[x * 3 + 0] = p.r;
      row[x * 3 + 1] = p.g;
      row[x * 3 + 2] = p.b;
    }
  }
  return surface;
}

bool sameImage(const RgbImage& a, const RgbImage& b) {
  return a.width == b.width && a.height == b.height &&
         std::equal(a.pixels.begin(), a.pixels.end(), b.pixels.begin(), sameRgb);
}

GlyphMask maskFromSurface(SDL_Surface* rendered) {
  SurfacePtr argb(SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) fail("cannot convert a glyph");
  GlyphMask mask;
  mask.width = argb->w;
  mask.height = argb->h;
  mask.coverage.resize(static_cast<std::size_t>(mask.width) * mask.height);
  for (int y = 0; y < mask.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<std::uint8_t*>(argb->pixels) + y * argb->pitch);
    for (int x = 0; x < mask.width; ++x) {
      mask.coverage[static_cast<std::size_t>(y) * mask.width + x] = static_cast<std::uint8_t>(row[x] >> 24);
    }
  }
  return mask;
}

// Each glyph comes out as a box of the font's full line height, so all share
// the same baseline row.
std::vector<GlyphMask> rasteriseAtSize(const std::string& fontPath, int pointSize) {
  FontPtr font(TTF_OpenFont(fontPath.c_str(), pointSize));
  if (!font) fail("cannot open font " + fontPath);
  std::vector<GlyphMask> glyphs;
  for (int cell = 0; cell < kFontGlyphCount; ++cell) {
    const SDL_Color white{255, 255, 255, 255};
    SurfacePtr rendered(TTF_RenderGlyph_Blended(font.get(), static_cast<Uint16>(fontCellCharacter(cell)), white));
    if (!rendered) fail(std::string("cannot draw glyph ") + fontCellCharacter(cell));
    glyphs.push_back(maskFromSurface(rendered.get()));
  }
  return glyphs;
}

// Little-endian, as RIFF files keep their numbers.
void putLittleEndian(std::ostream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i) & 0xff));
}

// A WAVE file of IMA ADPCM blocks: the format with its samples a block, the
// fact chunk's count of samples (which SDL ignores and other readers use),
// then the blocks.
void writeAdpcmWav(const std::string& path, const std::vector<std::uint8_t>& blocks, std::uint32_t sampleCount) {
  std::ofstream file(path, std::ios::binary);
  const auto chunkHeader = [&](const char* id, std::uint32_t bytes) {
    file.write(id, 4);
    putLittleEndian(file, bytes, 4);
  };
  const auto dataBytes = static_cast<std::uint32_t>(blocks.size());
  constexpr std::uint32_t kFormatBytes = 20, kFactBytes = 4;
  chunkHeader("RIFF", 4 + 8 + kFormatBytes + 8 + kFactBytes + 8 + dataBytes);
  file.write("WAVE", 4);
  chunkHeader("fmt ", kFormatBytes);
  const std::pair<std::uint32_t, int> format[] = {
      {kSoundFileEncoding, 2}, {kSoundFileChannels, 2}, {kSampleRate, 4},
      {kSampleRate / kSoundFileBlockSamples * kSoundFileBlockBytes, 4},  // bytes a second
      {kSoundFileBlockBytes, 2}, {4, 2},                                // bits a sample
      {2, 2}, {kSoundFileBlockSamples, 2}};                             // two more bytes: samples a block
  for (const auto& [value, bytes] : format) putLittleEndian(file, value, bytes);
  chunkHeader("fact", kFactBytes);
  putLittleEndian(file, sampleCount, 4);
  chunkHeader("data", dataBytes);
  file.write(reinterpret_cast<const char*>(blocks.data()), dataBytes);
  if (!file.flush()) throw std::runtime_error(path + ": cannot write");
}

}  // namespace

void saveBmp(const std::string& path, const RgbImage& image) {
  SurfacePtr surface = surfaceFrom(image);
  if (SDL_SaveBMP(surface.get(), path.c_str()) != 0) fail("cannot write " + path);
  if (!sameImage(loadBmp(path), image)) throw std::runtime_error(path + ": read back differs from what was drawn");
}

RgbImage loadBmp(const std::string& path) {
  SurfacePtr loaded(SDL_LoadBMP(path.c_str()));
  if (!loaded) fail("cannot read " + path);
  SurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0));
  if (!rgb) fail("cannot convert " + path);
  RgbImage image = makeImage(rgb->w, rgb->h, kColourKey);
  for (int y = 0; y < rgb->h; ++y) {
    const std::uint8_t* row = static_cast<std::uint8_t*>(rgb->pixels) + static_cast<std::ptrdiff_t>(y) * rgb->pitch;
    for (int x = 0; x < rgb->w; ++x) setPixel(image, x, y, {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]});
  }
  return image;
}

std::vector<GlyphMask> rasteriseFontGlyphs(const FontStyle& style) {
  for (int size = style.largestPointSize; size >= kSmallestPointSize; --size) {
    std::vector<GlyphMask> glyphs = rasteriseAtSize(style.fontPath, size);
    if (glyphsFitCell(glyphs)) return glyphs;
  }
  throw std::runtime_error(style.fontPath + ": no point size fits a 16x16 cell");
}

void writeSoundWav(const std::string& path, const std::vector<float>& samples) {
  std::vector<std::uint8_t> blocks;
  try {
    blocks = encodeImaAdpcm(samples);
  } catch (const std::invalid_argument& e) {
    throw std::invalid_argument(path + ": " + e.what());
  }
  writeAdpcmWav(path, blocks, static_cast<std::uint32_t>(samples.size()));
  // Read back by the game's own loader: the samples it plays must be the ones encoded.
  SDL_AudioSpec format{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(path.c_str(), &format, &buffer, &length)) fail(path + ": cannot read back");
  const auto* first = reinterpret_cast<const std::int16_t*>(buffer);
  const std::vector<std::int16_t> loaded(first, first + length / 2);
  SDL_FreeWAV(buffer);
  if (format.freq != kSampleRate || format.channels != kSoundFileChannels || loaded != decodeImaAdpcm(blocks))
    throw std::runtime_error(path + ": read back differently");
}

}  // namespace contentgen
