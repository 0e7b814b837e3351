// Checks the generated resource files the way the game will use them: sheets
// the game can cut and key, glyphs and gems told apart, sounds as the recipes
// ask; and that broken sources are refused by name.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <tuple>

#include "image.h"
#include "media_config.h"  // and the style and recipe headers it is built on
#include "media_io.h"

namespace {

using namespace contentgen;

std::string resourcePath(const std::string& name) { return std::string(AMBER_TEST_RESOURCES_DIR) + "/" + name; }

// Opens a sheet exactly as the game does, checks its size and plain 24-bit
// format (a palette or alpha could shift the key colour), and cuts it into cells.
std::vector<RgbImage> loadCells(const std::string& name, int cell, int count) {
  SDL_Surface* raw = SDL_LoadBMP(resourcePath(name).c_str());
  EXPECT_TRUE(raw && raw->w == cell * count && raw->h == cell && raw->format->BitsPerPixel == 24) << name;
  SDL_FreeSurface(raw);
  const RgbImage sheet = loadBmp(resourcePath(name));
  std::vector<RgbImage> cells(count, makeImage(cell, cell, kColourKey));
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell * count; ++x) setPixel(cells[x / cell], x % cell, y, pixelAt(sheet, x, y));
  return cells;
}

int opaqueCount(const RgbImage& image) { return int(std::ranges::count_if(image.pixels, std::not_fn(isKey))); }

Colour opaqueMean(const RgbImage& image) {
  Colour sum;
  for (const Rgb& p : image.pixels)
    if (const Colour c = toColour(p); !isKey(p)) sum.r += c.r, sum.g += c.g, sum.b += c.b;
  return scale(sum, 1.0f / static_cast<float>(std::max(1, opaqueCount(image))));
}

TEST(Sheets, GemsGlyphsAndTilesAreCutKeyedAndToldApartAsTheGameNeeds) {
  const std::vector<RgbImage> frames = loadCells("debug.bmp", kGemFrameSize, kGemFrameCount);
  for (int i = 0, last = kGemFrameSize - 1; i < kGemFrameCount; ++i) {  // a filled middle, keyed corners
    auto key = [&](int x, int y) { return isKey(pixelAt(frames[i], x, y)); };
    EXPECT_EQ(std::tuple(key(15, 15), key(16, 16), key(0, 0), key(0, last), key(last, 0), key(last, last)),
              std::tuple(false, false, true, true, true, true)) << "frame " << i;
  }
  // The special block is a solid tile behind the previews, not a cut-out; the border tile is solid.
  EXPECT_GE(opaqueCount(frames[6]), kGemFrameSize * kGemFrameSize - 8);
  EXPECT_EQ(opaqueCount(loadCells("border.bmp", kBorderTileSize, 1)[0]), kBorderTileSize * kBorderTileSize);
  for (int a = 0; a < kGemCount; ++a)
    for (int b = a + 1; b < kGemCount; ++b) {
      const Colour ca = opaqueMean(frames[a]), cb = opaqueMean(frames[b]);
      const float hueGap = std::abs(hueDegrees(ca) - hueDegrees(cb));
      EXPECT_GE(std::min(hueGap, 360.0f - hueGap), 25.0f) << "gems " << a << " and " << b;
      EXPECT_GE(std::abs(luma(ca) - luma(cb)), 0.06f) << "gems " << a << " and " << b;
    }
  // Glyphs have ink, the last cell is empty, and every two glyphs differ.
  const std::vector<RgbImage> cells = loadCells("courier.bmp", kFontCellSize, kFontCellCount);
  for (int i = 0; i < kFontGlyphCount; ++i) EXPECT_GT(opaqueCount(cells[i]), 12) << "'" << fontCellCharacter(i) << "'";
  EXPECT_EQ(opaqueCount(cells[kFontGlyphCount]), 0);
  // Pixels that look clearly different once drawn on the game's grey playfield.
  auto shade = [](Rgb p) { return luma(toColour(isKey(p) ? Rgb{100, 100, 100} : p)); };
  for (int a = 0; a < kFontGlyphCount; ++a)
    for (int b = a + 1; b < kFontGlyphCount; ++b) {
      int differing = 0;
      for (std::size_t i = 0; i < cells[a].pixels.size(); ++i)
        differing += std::abs(shade(cells[a].pixels[i]) - shade(cells[b].pixels[i])) > 0.25f;
      EXPECT_GE(differing, 4) << "'" << fontCellCharacter(a) << "' and '" << fontCellCharacter(b) << "'";
    }
}

// The shipped sounds exactly as their recipes ask, and as the game's mixer
// opens them: whole length, peak on target, silent ends (no click).
TEST(SoundFiles, LoadInTheMixerAsShortStereoAtTheirRecipesPeakWithSilentEnds) {
  ASSERT_TRUE(SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0) << Mix_GetError();
  for (const NamedSound& sound : loadSoundRecipes(std::string(AMBER_TEST_MEDIA_DIR) + "/sounds.json")) {
    const std::string path = resourcePath(sound.fileName);
    SCOPED_TRACE(path);
    const std::unique_ptr<Mix_Chunk, decltype(&Mix_FreeChunk)> chunk(Mix_LoadWAV(path.c_str()), Mix_FreeChunk);
    EXPECT_NE(chunk, nullptr) << Mix_GetError();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const long frames = std::lround(sound.recipe.durationSeconds * 44100);
    EXPECT_EQ(std::tuple(info.samplerate, info.channels, info.format, info.frames, info.frames < 0.6 * 44100),
              std::tuple(44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, frames, true));
    std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    const int peak = std::abs(std::ranges::max(samples, {}, [](short s) { return std::abs(s); }));
    EXPECT_NEAR(20.0 * std::log10(peak / 32767.0), sound.recipe.peakDbfs, 0.01);
    EXPECT_EQ(std::tuple(samples.front(), samples.back()), std::tuple(0, 0));
  }
  Mix_CloseAudio();
  SDL_Quit();
}

TEST(MediaSources, OpaqueColoursNeverBecomeTheKeyAndBrokenSourcesAreRefused) {
  EXPECT_FALSE(isKey(toOpaqueRgb(toColour(kColourKey))) || isKey(toOpaqueRgb({0.0f, 0.0f, 0.003f})));
  BorderStyle style = loadBorderStyle(std::string(AMBER_TEST_MEDIA_DIR) + "/border.json");
  style.brickWidth = 12;  // does not divide the tile
  EXPECT_THROW(drawBorderTile(style), std::invalid_argument);
  // No length, or a peak above full scale.
  EXPECT_THROW(synthesise({.durationSeconds = 0.0, .partials = {}, .notes = {}}), std::invalid_argument);
  EXPECT_THROW(synthesise({.peakDbfs = 1.0, .partials = {}, .notes = {}}), std::invalid_argument);
  // A broken source is named in the refusal.
  const std::string path = std::string(::testing::TempDir()) + "amber_broken_gems.json";
  std::ofstream(path) << R"({"gems": [], "special": {}, "light": [0, 0, 1]})";
  std::string refusal = "none: a sheet without gems was accepted";
  try { loadGemSheetStyle(path); } catch (const std::runtime_error& e) { refusal = e.what(); }
  EXPECT_NE(refusal.find(path), std::string::npos) << refusal;
  std::remove(path.c_str());
}

}  // namespace
