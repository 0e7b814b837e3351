// amber-contentgen <outdir> <contentdir>
// Rasterises the piece sheet and border tile from their SVG pictures, draws the
// font sheet and synthesises the sound effects from the readable sources in
// <contentdir>, writing the game's resource files
// into <outdir>. Exits non-zero, with the reason on stderr, if anything fails.

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "font.h"
#include "media/content.h"
#include "media_config.h"
#include "media_io.h"
#include "svg_picture.h"
#include "synth.h"

namespace {

namespace fs = std::filesystem;
using namespace contentgen;

void writePictures(const fs::path& out, const fs::path& content) {
  saveBmp((out / kPieceSheetFile).string(),
          renderKeyedSvg((content / "pieces.svg").string(), kPieceFrameSize * kPieceFrameCount, kPieceFrameSize));
  saveBmp((out / kBorderSheetFile).string(),
          renderKeyedSvg((content / "border.svg").string(), kBorderTileSize, kBorderTileSize));
  const FontStyle font = loadFontStyle((content / "font.json").string());
  saveBmp((out / kFontSheetFile).string(), assembleFontSheet(rasteriseFontGlyphs(font), font));
}

void writeSounds(const fs::path& out, const fs::path& content) {
  const std::vector<NamedSound> sounds = loadSoundRecipes((content / "sounds.json").string());
  // The game opens exactly these files: a sound missing here would be silent there.
  for (std::string_view name : kSoundFiles) {
    if (std::none_of(sounds.begin(), sounds.end(), [&](const NamedSound& s) { return s.fileName == name; }))
      throw std::runtime_error("sounds.json: no recipe for " + std::string(name));
  }
  for (const NamedSound& sound : sounds) writeSoundWav((out / sound.fileName).string(), synthesise(sound.recipe));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: amber-contentgen <outdir> <contentdir>\n";
    return 2;
  }
  // Only surfaces and fonts are needed: no window, no audio device.
  if (SDL_Init(0) != 0 || TTF_Init() != 0) {
    std::cerr << "amber-contentgen: cannot start SDL: " << SDL_GetError() << "\n";
    return 1;
  }
  int status = 0;
  try {
    const fs::path out = argv[1];
    fs::create_directories(out);
    writePictures(out, argv[2]);
    writeSounds(out, argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "amber-contentgen: " << e.what() << "\n";
    status = 1;
  }
  TTF_Quit();
  SDL_Quit();
  return status;
}
