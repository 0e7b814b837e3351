// Checks the generated resource files the way the game will use them: sheets
// the game can cut and key, glyphs and gems told apart, sounds as the recipes
// ask; and that broken picture sources are refused by name.
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
#include "media_config.h"
#include "media_io.h"
#include "svg_picture.h"

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

// Rec. 601 lightness in 0..1, with see-through pixels as the game's grey playfield.
float lightness(Rgb p) {
  if (isKey(p)) p = {100, 100, 100};
  return (0.299f * p.r + 0.587f * p.g + 0.114f * p.b) / 255.0f;
}

float meanOpaqueLightness(const RgbImage& image) {
  float sum = 0.0f;
  for (const Rgb& p : image.pixels) sum += isKey(p) ? 0.0f : lightness(p);
  return sum / std::max(1, opaqueCount(image));
}

TEST(Sheets, GemsGlyphsAndTilesAreCutKeyedAndToldApartAsTheGameNeeds) {
  const std::vector<RgbImage> frames = loadCells("debug.bmp", kPieceFrameSize, kPieceFrameCount);
  for (int i = 0, last = kPieceFrameSize - 1; i < kPieceFrameCount; ++i) {  // a filled middle, keyed corners
    SCOPED_TRACE("frame " + std::to_string(i));
    EXPECT_FALSE(isKey(pixelAt(frames[i], 16, 16)));
    for (auto [x, y] : {std::pair(0, 0), {0, last}, {last, 0}, {last, last}}) EXPECT_TRUE(isKey(pixelAt(frames[i], x, y)));
  }
  // The special block is a solid tile behind the previews, not a cut-out; the border tile is solid.
  EXPECT_GE(opaqueCount(frames[6]), kPieceFrameSize * kPieceFrameSize - 8);
  EXPECT_EQ(opaqueCount(loadCells("border.bmp", kBorderTileSize, 1)[0]), kBorderTileSize * kBorderTileSize);
  // Colour is never the only clue: gems also differ in lightness.
  for (int a = 0; a < 6; ++a)
    for (int b = a + 1; b < 6; ++b)
      EXPECT_GE(std::abs(meanOpaqueLightness(frames[a]) - meanOpaqueLightness(frames[b])), 0.06f)
          << "gems " << a << " and " << b;
  // Glyphs have ink, the last cell is empty, and every two glyphs differ.
  const std::vector<RgbImage> cells = loadCells("courier.bmp", kFontCellSize, kFontCellCount);
  for (int i = 0; i < kFontGlyphCount; ++i) EXPECT_GT(opaqueCount(cells[i]), 12) << "'" << fontCellCharacter(i) << "'";
  EXPECT_EQ(opaqueCount(cells[kFontGlyphCount]), 0);
  // Pixels that look clearly different once drawn on the game's grey playfield.
  for (int a = 0; a < kFontGlyphCount; ++a)
    for (int b = a + 1; b < kFontGlyphCount; ++b) {
      int differing = 0;
      for (std::size_t i = 0; i < cells[a].pixels.size(); ++i)
        differing += std::abs(lightness(cells[a].pixels[i]) - lightness(cells[b].pixels[i])) > 0.25f;
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

// Half-covered pixels keep their colour, fainter ones take the key; opaque key-coloured ones stay opaque.
TEST(PictureSources, OnlySeeThroughPixelsBecomeTheKey) {
  const RgbImage keyed = keyTransparent({.width = 3, .height = 1, .bytes = {90, 60, 30, 128, 90, 60, 30, 127, 0, 0, 1, 255}});
  EXPECT_FALSE(isKey(pixelAt(keyed, 0, 0)));
  EXPECT_TRUE(isKey(pixelAt(keyed, 1, 0)));
  EXPECT_FALSE(isKey(pixelAt(keyed, 2, 0)));
}

// A missing, malformed or wrongly sized picture stops the build naming the file and the fault.
TEST(PictureSources, BrokenSvgFilesAreRefusedNamingFileAndFault) {
  struct Case {
    const char* name;
    const char* text;  // nullptr: no file at all
    const char* fault;
  };
  const Case cases[] = {
      {.name = "missing", .text = nullptr, .fault = "No such file"},
      {.name = "cut short", .text = "<svg><rect", .fault = "XML parse error"},
      {.name = "wrong size", .text = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="32"/>)",
       .fault = "is 16x32 pixels"},
  };
  const std::string path = std::string(::testing::TempDir()) + "amber_broken.svg";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(path.c_str());
    if (c.text) std::ofstream(path) << c.text;
    std::string refusal = "none: accepted";
    try { renderKeyedSvg(path, 32, 32); } catch (const std::runtime_error& e) { refusal = e.what(); }
    EXPECT_NE(refusal.find(path), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(c.fault), std::string::npos) << refusal;
  }
}

}  // namespace
