// Checks the generated resource files the way the game will use them: glyphs
// told apart, sounds as the recipes ask; and that broken picture sources are
// refused by name.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>

#include "ima_adpcm.h"
#include "image.h"
#include "media_config.h"
#include "media_io.h"
#include "svg_picture.h"
#include "synth.h"

namespace {

using namespace contentgen;

std::string resourcePath(const std::string& name) { return std::string(AMBER_TEST_RESOURCES_DIR) + "/" + name; }

// A sheet cut into cells.
std::vector<RgbImage> loadCells(const std::string& name, int cell, int count) {
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

// The gems, the special block and the border tile (and with them the sheets'
// format and keying) are drawn in the golden frames, which pin them pixel for
// pixel; most glyphs are not.
TEST(Sheets, GlyphsHaveInkAndAreToldApart) {
  // Glyphs have ink and every two differ. (The blank last cell shows between
  // the letters of the golden frames' HUD.)
  const std::vector<RgbImage> cells = loadCells("courier.bmp", kFontCellSize, kFontCellCount);
  for (int i = 0; i < kFontGlyphCount; ++i) EXPECT_GT(opaqueCount(cells[i]), 12) << "'" << fontCellCharacter(i) << "'";
  // Pixels that look clearly different once drawn on the game's grey playfield.
  for (int a = 0; a < kFontGlyphCount; ++a)
    for (int b = a + 1; b < kFontGlyphCount; ++b) {
      int differing = 0;
      for (std::size_t i = 0; i < cells[a].pixels.size(); ++i)
        differing += std::abs(lightness(cells[a].pixels[i]) - lightness(cells[b].pixels[i])) > 0.25f;
      EXPECT_GE(differing, 4) << "'" << fontCellCharacter(a) << "' and '" << fontCellCharacter(b) << "'";
    }
}

// The shipped sounds as their recipes ask, and as the game's mixer opens
// them: whole length, peak on target, silent ends (no click), and the
// recipe's own sound under the encoding's noise.
TEST(SoundFiles, LoadInTheMixerAtTheirRecipesLengthAndPeakWithSilentEnds) {
  ASSERT_TRUE(SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0) << Mix_GetError();
  for (const NamedSound& sound : loadSoundRecipes(std::string(AMBER_TEST_MEDIA_DIR) + "/sounds.json")) {
    const std::string path = resourcePath(sound.fileName);
    SCOPED_TRACE(path);
    const std::unique_ptr<Mix_Chunk, decltype(&Mix_FreeChunk)> chunk(Mix_LoadWAV(path.c_str()), Mix_FreeChunk);
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    // The chunk as the mixer holds it, 16-bit stereo at 44.1 kHz: a file at
    // another rate would come out longer or shorter.
    const auto* first = reinterpret_cast<const short*>(chunk->abuf);
    const std::vector<short> samples(first, first + chunk->alen / 2);
    EXPECT_EQ(long(samples.size() / 2), std::lround(sound.recipe.durationSeconds * 44100));
    const int peak = std::abs(std::ranges::max(samples, {}, [](short s) { return std::abs(s); }));
    EXPECT_NEAR(20.0 * std::log10(peak / 32767.0), sound.recipe.peakDbfs, 0.01);
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), 0);
    // Four bits a sample leave the error about 30 dB under these effects (the
    // steep zap least); a fault in the coding leaves it near the signal's level.
    const std::vector<float> recipe = synthesise(sound.recipe);
    double signal = 0.0, error = 0.0;
    for (std::size_t i = 0; i < recipe.size() && 2 * i < samples.size(); ++i) {
      signal += double(recipe[i]) * recipe[i];
      error += std::pow(recipe[i] - samples[2 * i] / 32767.0, 2);
    }
    EXPECT_GT(10.0 * std::log10(signal / error), 28.0);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

// The loader plays whole blocks only: a sound that does not fill its last one
// would lose its end (and its silence) in the game, so the build stops.
TEST(SoundFiles, EncoderRefusesASoundEndingInsideABlock) {
  EXPECT_THROW(encodeImaAdpcm(std::vector<float>(2 * 441 + 1)), std::invalid_argument);
}

// A malformed or wrongly sized picture stops the build naming the file and the
// fault. (A missing one takes the malformed one's way out.)
TEST(PictureSources, BrokenSvgFilesAreRefusedNamingFileAndFault) {
  struct Case {
    const char* name;
    const char* text;
    const char* fault;
  };
  const Case cases[] = {
      {.name = "cut short", .text = "<svg><rect", .fault = "XML parse error"},
      {.name = "wrong size", .text = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="32"/>)",
       .fault = "is 16x32 pixels"},
  };
  const std::string path = std::string(::testing::TempDir()) + "amber_broken.svg";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(path) << c.text;
    std::string refusal = "none: accepted";
    try { renderKeyedSvg(path, 32, 32); } catch (const std::runtime_error& e) { refusal = e.what(); }
    EXPECT_NE(refusal.find(path), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(c.fault), std::string::npos) << refusal;
  }
}

}  // namespace
