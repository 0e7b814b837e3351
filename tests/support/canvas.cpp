#include "support/canvas.h"

#include <random>
#include <stdexcept>

namespace testsupport {

Canvas::Canvas(int width, int height)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
      renderer(surface ? SDL_CreateSoftwareRenderer(surface) : nullptr) {
    if (!renderer) throw std::runtime_error(SDL_GetError());
    clear({0, 0, 0});
}

Canvas::~Canvas() {
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

void Canvas::clear(Rgb c) { SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, c.r, c.g, c.b)); }

Rgb Canvas::pixel(int x, int y) const {
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    Rgb c{};
    SDL_GetRGB(reinterpret_cast<const std::uint32_t*>(row)[x], surface->format, &c.r, &c.g, &c.b);
    return c;
}

int Canvas::count(Rgb c, SDL_Rect rect) const {
    int n = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, surface->h); ++y) {
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, surface->w); ++x) n += pixel(x, y) == c;
    }
    return n;
}

TempDir::TempDir() {
    // Random, so that tests running side by side never share a folder.
    path = std::filesystem::temp_directory_path() / ("amber-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& dir) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() { std::filesystem::current_path(previous); }

Rgb frameColour(int i) {
    if (i < static_cast<int>(kFrameColours.size())) return kFrameColours[i];
    return Rgb{static_cast<std::uint8_t>(10 + i * 6), 100, static_cast<std::uint8_t>(255 - i * 6)};
}

void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns,
                     const Rgb* only) {
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, frameCount * frameWidth + extraColumns, height, 24, SDL_PIXELFORMAT_BGR24);
    for (int i = 0; i <= frameCount; ++i) {
        Rgb c = i == frameCount ? Rgb{255, 128, 0} : only ? *only : frameColour(i);
        SDL_Rect r{i * frameWidth, 0, i == frameCount ? extraColumns : frameWidth, height};
        SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
    }
    int saved = SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    if (saved != 0) throw std::runtime_error(SDL_GetError());
}

void writeTestResources(const std::filesystem::path& dir) {
    const std::filesystem::path res = dir / "resources";
    std::filesystem::create_directories(res);
    writeSolidSheet((res / "debug.bmp").string(), 7, 32, 32);
    writeSolidSheet((res / "border.bmp").string(), 1, 32, 32, 0, &kTestBorder);
    writeSolidSheet((res / "courier.bmp").string(), 37, 10, 16);
    // Sounds and figures are the shipped ones, from the build folder the tests run in.
    for (const char* name : {"s1.wav", "s2.wav", "s3.wav", "s4.wav", "wendle", "debugman"}) {
        if (!std::filesystem::exists(std::filesystem::path("resources") / name)) continue;
        std::filesystem::copy(std::filesystem::path("resources") / name, res / name,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace testsupport
