#include "support/canvas.h"

#include <random>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

Canvas::Canvas(int width, int height)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
      renderer(surface ? SDL_CreateSoftwareRenderer(surface) : nullptr) {
    if (!renderer) throw std::runtime_error(SDL_GetError());
    clear({0, 0, 0});
}

Rgb Canvas::pixel(int x, int y) const {
    // A 32-bit surface's pitch is a whole number of pixels.
    const Uint32 value = static_cast<const Uint32*>(surface->pixels)[y * surface->pitch / 4 + x];
    Rgb c{};
    SDL_GetRGB(value, surface->format, &c.r, &c.g, &c.b);
    return c;
}

int Canvas::count(Rgb c, SDL_Rect rect) const {
    int n = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, surface->h); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, surface->w); ++x) n += pixel(x, y) == c;
    return n;
}

TempDir::TempDir() {
    // Random, so that tests running side by side never share a folder.
    path = fs::temp_directory_path() / ("amber-test-" + std::to_string(std::random_device{}()));
    fs::create_directories(path);
}

void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns,
                     const Rgb* only) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, frameCount * frameWidth + extraColumns, height, 24,
                                                    SDL_PIXELFORMAT_BGR24);
    for (int i = 0; i <= frameCount; ++i) {
        Rgb c = i == frameCount ? Rgb{255, 128, 0} : only ? *only : frameColour(i);
        SDL_Rect r{i * frameWidth, 0, i == frameCount ? extraColumns : frameWidth, height};
        SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
    }
    int saved = SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    if (saved != 0) throw std::runtime_error(SDL_GetError());
}

void writeTestResources(const fs::path& dir) {
    const fs::path res = dir / "resources";
    fs::create_directories(res);
    writeSolidSheet((res / "debug.bmp").string(), 7, 32, 32);
    writeSolidSheet((res / "border.bmp").string(), 1, 32, 32, 0, &kTestBorder);
    writeSolidSheet((res / "courier.bmp").string(), 37, 10, 16);
    // Sounds and figures are the shipped ones, from the build folder the tests run in.
    for (const char* name : {"s1.wav", "s2.wav", "s3.wav", "s4.wav", "wendle", "debugman"})
        if (const fs::path from = fs::path("resources") / name; fs::exists(from))
            fs::copy(from, res / name, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace testsupport
