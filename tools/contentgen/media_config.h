#pragma once

#include <string>
#include <vector>

#include "font.h"
#include "synth.h"

namespace contentgen {

// One sound effect to write: the file name under the resources folder and its recipe.
struct NamedSound {
  std::string fileName;
  SoundRecipe recipe;
};

// Each loader reads one readable source file from content/media and throws
// std::runtime_error naming the file when it is missing, malformed or out of range.

// font.json: the TrueType file and the letter colours.
FontStyle loadFontStyle(const std::string& path);

// sounds.json: the recipes for s1.wav .. s4.wav.
std::vector<NamedSound> loadSoundRecipes(const std::string& path);

}  // namespace contentgen
