// Checks the generated resource files the way the game will use them, plus the
// drawing and synthesis pieces whose faults would not show in a single file.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "border.h"
#include "font.h"
#include "gems.h"
#include "image.h"
#include "media_config.h"
#include "media_io.h"
#include "synth.h"

namespace {

using namespace contentgen;

const std::array<const char*, 4> kSoundFiles{"s1.wav", "s2.wav", "s3.wav", "s4.wav"};

std::string resourcePath(const std::string& name) { return std::string(AMBER_TEST_RESOURCES_DIR) + "/" + name; }

std::string mediaPath(const std::string& name) { return std::string(AMBER_TEST_MEDIA_DIR) + "/" + name; }

RgbImage crop(const RgbImage& sheet, int x0, int width) {
  RgbImage out = makeImage(width, sheet.height, kColourKey);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < width; ++x) setPixel(out, x, y, pixelAt(sheet, x0 + x, y));
  }
  return out;
}

struct OpaqueStats {
  int count = 0;
  Colour mean;
  float maxLuma = 0.0f;
};

OpaqueStats opaqueStats(const RgbImage& image) {
  OpaqueStats s;
  double r = 0, g = 0, b = 0;
  for (const Rgb& p : image.pixels) {
    if (isKey(p)) continue;
    const Colour c = toColour(p);
    r += c.r, g += c.g, b += c.b;
    s.maxLuma = std::max(s.maxLuma, luma(c));
    ++s.count;
  }
  if (s.count > 0) s.mean = {float(r / s.count), float(g / s.count), float(b / s.count)};
  return s;
}

bool touchesKey(const RgbImage& image, int x, int y) {
  const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
  for (int i = 0; i < 4; ++i) {
    const int nx = x + dx[i], ny = y + dy[i];
    if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height || isKey(pixelAt(image, nx, ny))) return true;
  }
  return false;
}

int maskDifference(const RgbImage& a, const RgbImage& b) {
  int differing = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) differing += isKey(a.pixels[i]) != isKey(b.pixels[i]);
  return differing;
}

float hueDistance(float a, float b) {
  const float d = std::abs(a - b);
  return std::min(d, 360.0f - d);
}

// Opens a sheet exactly as the game does and checks its size.
RgbImage loadSheetAsGameDoes(const std::string& name, int width, int height) {
  SDL_Surface* raw = SDL_LoadBMP(resourcePath(name).c_str());
  EXPECT_NE(raw, nullptr) << name << ": " << SDL_GetError();
  if (raw) {
    EXPECT_EQ(raw->w, width) << name;
    EXPECT_EQ(raw->h, height) << name;
    // A palette or alpha format could shift the key colour; the sheets are plain RGB.
    EXPECT_EQ(raw->format->BitsPerPixel, 24) << name;
    SDL_FreeSurface(raw);
  }
  return loadBmp(resourcePath(name));
}

// ---------------------------------------------------------------- piece sheet

class PieceSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet = loadSheetAsGameDoes("debug.bmp", kGemFrameSize * kGemFrameCount, kGemFrameSize);
    for (int i = 0; i < kGemFrameCount; ++i) frames.push_back(crop(sheet, i * kGemFrameSize, kGemFrameSize));
  }
  RgbImage sheet;
  std::vector<RgbImage> frames;
};

TEST_F(PieceSheet, GemCornersAreSeeThroughAndCentresSolid) {
  constexpr int kLast = kGemFrameSize - 1;
  for (int i = 0; i < kGemFrameCount; ++i) {
    for (int y : {15, 16}) {
      for (int x : {15, 16}) EXPECT_FALSE(isKey(pixelAt(frames[i], x, y))) << "frame " << i;
    }
    for (int y : {0, kLast}) {
      for (int x : {0, kLast}) EXPECT_TRUE(isKey(pixelAt(frames[i], x, y))) << "frame " << i;
    }
  }
  // The special block is a solid tile behind the previews, not a cut-out.
  EXPECT_GE(opaqueStats(frames[6]).count, kGemFrameSize * kGemFrameSize - 8);
}

TEST_F(PieceSheet, GemsHaveHighlightAndDarkerRim) {
  for (int i = 0; i < kGemCount; ++i) {
    const OpaqueStats stats = opaqueStats(frames[i]);
    double rimLuma = 0.0;
    int rimCount = 0;
    for (int y = 0; y < kGemFrameSize; ++y) {
      for (int x = 0; x < kGemFrameSize; ++x) {
        if (isKey(pixelAt(frames[i], x, y)) || !touchesKey(frames[i], x, y)) continue;
        rimLuma += luma(toColour(pixelAt(frames[i], x, y)));
        ++rimCount;
      }
    }
    ASSERT_GT(rimCount, 0);
    EXPECT_GT(stats.maxLuma, luma(stats.mean) + 0.2f) << "gem " << i << " has no highlight";
    EXPECT_LT(rimLuma / rimCount, luma(stats.mean) * 0.6f) << "gem " << i << " has no dark rim";
  }
}

TEST_F(PieceSheet, GemColoursDifferInHueAndLightness) {
  constexpr float kMinHueGap = 25.0f;    // degrees
  constexpr float kMinLumaGap = 0.06f;   // about 15 of 255 levels
  for (int a = 0; a < kGemCount; ++a) {
    for (int b = a + 1; b < kGemCount; ++b) {
      const Colour ca = opaqueStats(frames[a]).mean, cb = opaqueStats(frames[b]).mean;
      EXPECT_GE(hueDistance(hueDegrees(ca), hueDegrees(cb)), kMinHueGap) << "gems " << a << " and " << b;
      EXPECT_GE(std::abs(luma(ca) - luma(cb)), kMinLumaGap) << "gems " << a << " and " << b;
    }
  }
}

TEST_F(PieceSheet, GemOutlinesTellColoursApartWithoutColour) {
  constexpr int kMinDifferentPixels = 40;
  for (int a = 0; a < kGemCount; ++a) {
    for (int b = a + 1; b < kGemCount; ++b) {
      EXPECT_GE(maskDifference(frames[a], frames[b]), kMinDifferentPixels) << "gems " << a << " and " << b;
    }
  }
}

TEST_F(PieceSheet, SpecialBlockIsGreySteelWithBrightRuneThatGemsStandOutOn) {
  const RgbImage& special = frames[6];
  // What stays visible around a 24x24 preview drawn in the middle.
  double r = 0, g = 0, b = 0;
  int ring = 0;
  for (int y = 0; y < kGemFrameSize; ++y) {
    for (int x = 0; x < kGemFrameSize; ++x) {
      const bool underPreview = x >= 4 && x < 28 && y >= 4 && y < 28;
      if (underPreview || isKey(pixelAt(special, x, y))) continue;
      const Colour c = toColour(pixelAt(special, x, y));
      r += c.r, g += c.g, b += c.b;
      ++ring;
    }
  }
  const Colour steel{float(r / ring), float(g / ring), float(b / ring)};
  EXPECT_LT(luma(steel), 0.4f) << "steel should be dark";
  EXPECT_LT(std::max({steel.r, steel.g, steel.b}) - std::min({steel.r, steel.g, steel.b}), 0.12f) << "steel should be grey";
  EXPECT_GT(opaqueStats(special).maxLuma, 0.85f) << "the rune should glow";
  for (int i = 0; i < kGemCount; ++i) {
    const Colour gem = opaqueStats(frames[i]).mean;
    const float distance = std::hypot(gem.r - steel.r, gem.g - steel.g, gem.b - steel.b);
    EXPECT_GT(distance, 0.25f) << "gem " << i << " would blend into the special block";
  }
}

// ---------------------------------------------------------------- border tile

// Mean absolute step between two columns (or rows) of the tile.
float meanStep(const RgbImage& tile, int a, int b, bool columns) {
  float sum = 0.0f;
  for (int i = 0; i < kBorderTileSize; ++i) {
    const Rgb p = columns ? pixelAt(tile, a, i) : pixelAt(tile, i, a);
    const Rgb q = columns ? pixelAt(tile, b, i) : pixelAt(tile, i, b);
    sum += std::abs(luma(toColour(p)) - luma(toColour(q)));
  }
  return sum / kBorderTileSize;
}

TEST(BorderTile, IsSolidAndRepeatsWithoutSeams) {
  const RgbImage tile = loadSheetAsGameDoes("border.bmp", kBorderTileSize, kBorderTileSize);
  EXPECT_EQ(std::count_if(tile.pixels.begin(), tile.pixels.end(), isKey), 0);
  for (bool columns : {true, false}) {
    float largestInside = 0.0f;
    for (int i = 0; i + 1 < kBorderTileSize; ++i) largestInside = std::max(largestInside, meanStep(tile, i, i + 1, columns));
    // The wrap from the last line back to the first must look like any other step.
    EXPECT_LE(meanStep(tile, kBorderTileSize - 1, 0, columns), largestInside) << (columns ? "columns" : "rows");
  }
}

TEST(BorderTile, RejectsBrickSizesThatCannotTile) {
  BorderStyle style = loadBorderStyle(mediaPath("border.json"));
  style.brickWidth = 12;  // does not divide 32
  EXPECT_THROW(drawBorderTile(style), std::invalid_argument);
  style = loadBorderStyle(mediaPath("border.json"));
  style.brickHeight = 32;  // a single shifted course would not meet the next tile
  EXPECT_THROW(drawBorderTile(style), std::invalid_argument);
}

// ---------------------------------------------------------------- font sheet

class FontSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet = loadSheetAsGameDoes("courier.bmp", kFontCellSize * kFontCellCount, kFontCellSize);
    for (int i = 0; i < kFontCellCount; ++i) cells.push_back(crop(sheet, i * kFontCellSize, kFontCellSize));
  }
  RgbImage sheet;
  std::vector<RgbImage> cells;
};

TEST_F(FontSheet, GlyphCellsHaveInkAndBlankCellIsEmpty) {
  for (int i = 0; i < kFontGlyphCount; ++i) {
    EXPECT_GT(opaqueStats(cells[i]).count, 12) << "cell " << i << " ('" << fontCellCharacter(i) << "')";
  }
  EXPECT_EQ(opaqueStats(cells[kFontGlyphCount]).count, 0);
}

// Pixels that look clearly different once drawn on the game's grey playfield.
int visibleDifference(const RgbImage& a, const RgbImage& b) {
  const Colour playfield = toColour({100, 100, 100});
  int differing = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    const float la = luma(isKey(a.pixels[i]) ? playfield : toColour(a.pixels[i]));
    const float lb = luma(isKey(b.pixels[i]) ? playfield : toColour(b.pixels[i]));
    differing += std::abs(la - lb) > 0.25f;
  }
  return differing;
}

TEST_F(FontSheet, GlyphsArePairwiseDistinct) {
  constexpr int kMinDifferentPixels = 4;
  for (int a = 0; a < kFontGlyphCount; ++a) {
    for (int b = a + 1; b < kFontGlyphCount; ++b) {
      EXPECT_GE(visibleDifference(cells[a], cells[b]), kMinDifferentPixels)
          << "'" << fontCellCharacter(a) << "' and '" << fontCellCharacter(b) << "'";
    }
  }
}

TEST_F(FontSheet, PaleLettersAreFullyRingedByDarkOutline) {
  constexpr float kPale = 0.6f, kDark = 0.2f;
  for (int i = 0; i < kFontGlyphCount; ++i) {
    int pale = 0, dark = 0;
    for (int y = 0; y < kFontCellSize; ++y) {
      for (int x = 0; x < kFontCellSize; ++x) {
        const Rgb p = pixelAt(cells[i], x, y);
        if (isKey(p)) continue;
        const float l = luma(toColour(p));
        pale += l > kPale;
        dark += l < kDark;
        // A pale pixel next to see-through would vanish into a light background.
        if (l > kPale) {
          EXPECT_FALSE(touchesKey(cells[i], x, y)) << "'" << fontCellCharacter(i) << "' at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(pale, 4) << "'" << fontCellCharacter(i) << "'";
    EXPECT_GT(dark, 4) << "'" << fontCellCharacter(i) << "'";
  }
}

TEST(FontCell, SolidInkPixelGetsFillAndOneRingOfOutline) {
  FontStyle style;
  style.fillTop = style.fillBottom = {1, 1, 1};
  style.outline = {0.1f, 0.05f, 0.0f};
  GlyphMask dot{1, 1, {255}};
  const RgbImage cell = drawOutlinedCell(dot, 5, 7, style);
  EXPECT_TRUE(sameRgb(pixelAt(cell, 5, 7), {255, 255, 255}));
  int outline = 0;
  for (const Rgb& p : cell.pixels) outline += sameRgb(p, toOpaqueRgb(style.outline));
  EXPECT_EQ(outline, 8);
  EXPECT_EQ(std::count_if(cell.pixels.begin(), cell.pixels.end(), isKey), kFontCellSize * kFontCellSize - 9);
}

TEST(FontCell, OversizedGlyphsAreRejected) {
  GlyphMask tall{2, kFontCellSize, std::vector<std::uint8_t>(2 * kFontCellSize, 255)};
  EXPECT_FALSE(glyphsFitCell({tall}));
  EXPECT_THROW(assembleFontSheet(std::vector<GlyphMask>(kFontGlyphCount, tall), FontStyle{}), std::invalid_argument);
}

// ---------------------------------------------------------------- sounds

struct WavData {
  SF_INFO info{};
  std::vector<short> left;  // the channels are identical; one is enough to judge
};

WavData readWav(const std::string& name) {
  WavData wav;
  SNDFILE* file = sf_open(resourcePath(name).c_str(), SFM_READ, &wav.info);
  EXPECT_NE(file, nullptr) << name << ": " << sf_strerror(nullptr);
  if (!file) return wav;
  std::vector<short> frames(static_cast<std::size_t>(wav.info.frames * wav.info.channels));
  sf_readf_short(file, frames.data(), wav.info.frames);
  sf_close(file);
  for (std::size_t i = 0; i < frames.size(); i += wav.info.channels) wav.left.push_back(frames[i]);
  return wav;
}

double peakDbfsOf(const std::vector<short>& samples) {
  int peak = 0;
  for (short s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return 20.0 * std::log10(peak / 32768.0);
}

// Zero crossings per second over a stretch of samples: a rough pitch gauge.
double crossingRate(const std::vector<short>& s, std::size_t from, std::size_t to) {
  int crossings = 0;
  for (std::size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
  return crossings * double(kSampleRate) / double(to - from);
}

class SoundFiles : public ::testing::Test {
 protected:
  // Opened once, as the game does; a failure is reported by every test rather
  // than turning them into skips.
  static void SetUpTestSuite() {
    audioReady = SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    if (!audioReady) audioError = Mix_GetError();
  }
  static void TearDownTestSuite() {
    if (audioReady) Mix_CloseAudio();
    SDL_Quit();
  }
  void SetUp() override { ASSERT_TRUE(audioReady) << "cannot open audio: " << audioError; }
  static inline bool audioReady = false;
  static inline std::string audioError;
};

TEST_F(SoundFiles, LoadInTheGamesMixer) {
  for (const char* name : kSoundFiles) {
    Mix_Chunk* chunk = Mix_LoadWAV(resourcePath(name).c_str());
    EXPECT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
    if (chunk) Mix_FreeChunk(chunk);
  }
}

TEST_F(SoundFiles, AreShortStereo16BitAt44100) {
  for (const char* name : kSoundFiles) {
    const WavData wav = readWav(name);
    EXPECT_EQ(wav.info.samplerate, 44100) << name;
    EXPECT_EQ(wav.info.channels, 2) << name;
    EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
    EXPECT_GT(wav.info.frames, 0) << name;
    EXPECT_LT(wav.info.frames, 0.6 * 44100) << name;
  }
}

TEST_F(SoundFiles, PeakLoudButUnclippedAndEndsSilent) {
  constexpr int kNearZero = 64;  // about -54 dBFS: no audible click
  for (const char* name : kSoundFiles) {
    const WavData wav = readWav(name);
    ASSERT_FALSE(wav.left.empty()) << name;
    const double peak = peakDbfsOf(wav.left);
    EXPECT_GE(peak, -6.0) << name;
    EXPECT_LE(peak, -1.0) << name;
    EXPECT_LE(std::abs(wav.left.front()), kNearZero) << name;
    EXPECT_LE(std::abs(wav.left.back()), kNearZero) << name;
  }
}

TEST_F(SoundFiles, ChimeIsBrightThudIsLowAndFallingSoundsFall) {
  const WavData chime = readWav("s1.wav"), thud = readWav("s2.wav");
  EXPECT_GT(crossingRate(chime.left, 0, chime.left.size()), 2000.0);
  EXPECT_LT(crossingRate(thud.left, 0, thud.left.size() / 2), 600.0);
  for (const char* name : {"s3.wav", "s4.wav"}) {
    const WavData wav = readWav(name);
    const std::size_t fifth = wav.left.size() / 5;
    EXPECT_GT(crossingRate(wav.left, 0, fifth), 1.5 * crossingRate(wav.left, 4 * fifth, wav.left.size())) << name;
  }
}

// ---------------------------------------------------------------- synthesis

class EveryVoice : public ::testing::TestWithParam<Voice> {};

TEST_P(EveryVoice, RendersWholeLengthAtTargetPeakWithSilentEnds) {
  SoundRecipe recipe;
  recipe.voice = GetParam();
  recipe.durationSeconds = 0.1;
  recipe.peakDbfs = -4.5;
  recipe.partials = {{1.0, 1.0, 5.0}};
  recipe.notes = {{0.0, 880.0, 1.0}};
  recipe.modIndex = 2.0;
  recipe.noiseLevel = 0.5;
  const std::vector<float> samples = synthesise(recipe);
  ASSERT_EQ(samples.size(), 4410u);
  EXPECT_NEAR(peakDbfs(samples), -4.5, 0.01);
  EXPECT_EQ(samples.front(), 0.0f);
  EXPECT_EQ(samples.back(), 0.0f);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](float s) { return std::isfinite(s); }));
}

INSTANTIATE_TEST_SUITE_P(Synth, EveryVoice,
                         ::testing::Values(Voice::Chime, Voice::Thud, Voice::FallingTone, Voice::Zap));

TEST(Synth, RejectsEmptyOrClippingRecipes) {
  SoundRecipe recipe;
  recipe.durationSeconds = 0.0;
  EXPECT_THROW(synthesise(recipe), std::invalid_argument);
  recipe.durationSeconds = 0.1;
  recipe.peakDbfs = 1.0;
  EXPECT_THROW(synthesise(recipe), std::invalid_argument);
}

// ---------------------------------------------------------------- sources

TEST(MediaSources, OpaqueColoursNeverBecomeTheKey) {
  EXPECT_FALSE(isKey(toOpaqueRgb(toColour(kColourKey))));
  EXPECT_FALSE(isKey(toOpaqueRgb({0.0f, 0.0f, 0.003f})));
}

TEST(MediaSources, BrokenSourceIsReportedWithItsFileName) {
  const std::string path = std::string(::testing::TempDir()) + "amber_broken_gems.json";
  std::ofstream(path) << R"({"gems": [], "special": {}, "light": [0, 0, 1]})";
  try {
    loadGemSheetStyle(path);
    FAIL() << "a sheet without gems was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  std::remove(path.c_str());
}

}  // namespace
