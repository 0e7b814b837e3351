// amber-icongen <icon.svg> <outdir> <size>...
// Draws the game's desktop icon from its SVG picture at each size into
// <outdir>/<size>x<size>/apps/amber-hollow.png, the icon theme's own layout.
// Exits non-zero, with the reason on stderr, if anything fails.

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "svg_picture.h"

namespace {

namespace fs = std::filesystem;
using namespace contentgen;

void savePng(const fs::path& path, RgbaImage icon) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.bytes.data(), icon.width, icon.height, 32,
                                                            icon.width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) throw std::runtime_error(std::string("cannot make an icon surface: ") + SDL_GetError());
  const int saved = IMG_SavePNG(surface, path.string().c_str());
  SDL_FreeSurface(surface);
  if (saved != 0) throw std::runtime_error("cannot write " + path.string() + ": " + SDL_GetError());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: amber-icongen <icon.svg> <outdir> <size>...\n";
    return 2;
  }
  try {
    for (int i = 3; i < argc; ++i) {
      const int size = std::stoi(argv[i]);
      const fs::path dir = fs::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
      fs::create_directories(dir);
      savePng(dir / "amber-hollow.png", renderSvg(argv[1], size, size));
    }
  } catch (const std::exception& e) {
    std::cerr << "amber-icongen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
