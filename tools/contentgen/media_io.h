#pragma once

#include <string>
#include <vector>

#include "font.h"
#include "image.h"

namespace contentgen {

// Writes `image` as a 24-bit BMP through SDL, then reads it back and compares
// every pixel, so a sheet whose colour key got mangled never reaches the game.
// Throws std::runtime_error on any failure.
void saveBmp(const std::string& path, const RgbImage& image);

// Loads any BMP SDL can read into plain RGB; throws std::runtime_error on failure.
RgbImage loadBmp(const std::string& path);

// Rasterises 'a'..'z', '0'..'9' from the style's TrueType file at the largest
// point size (from style.largestPointSize down) whose glyphs fit a 16x16 cell
// with their outline. Needs TTF_Init to have succeeded; throws
// std::runtime_error if the font cannot be opened or nothing fits.
std::vector<GlyphMask> rasteriseFontGlyphs(const FontStyle& style);

// Writes mono samples at kSampleRate as the game's sound file, a mono IMA
// ADPCM WAV (see media/content.h), then reads it back through SDL's loader and
// checks it plays the samples encoded. Samples are expected within -1..1, a
// whole number of kSoundFileBlockSamples; throws std::invalid_argument for
// another count, std::runtime_error on any other failure.
void writeSoundWav(const std::string& path, const std::vector<float>& samples);

}  // namespace contentgen
