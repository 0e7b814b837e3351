#include "support/canvas.h"

#include <atomic>
#include <random>
#include <stdexcept>

namespace testsupport {

Canvas::Canvas(int width, int height) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) throw std::runtime_error(SDL_GetError());
    renderer = SDL_CreateSoftwareRenderer(surface);
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
    std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    Rgb c{};
    SDL_GetRGB(value, surface->format, &c.r, &c.g, &c.b);
    return c;
}

int Canvas::count(Rgb c, SDL_Rect rect) const {
    int n = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, surface->h); ++y) {
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, surface->w); ++x) {
            if (pixel(x, y) == c) ++n;
        }
    }
    return n;
}

TempDir::TempDir() {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("amber-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

Rgb frameColour(int i) {
    if (i < static_cast<int>(kFrameColours.size())) return kFrameColours[i];
    return Rgb{static_cast<std::uint8_t>(10 + i * 6), 100, static_cast<std::uint8_t>(255 - i * 6)};
}

namespace {

void fill(SDL_Surface* s, SDL_Rect r, Rgb c) { SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b)); }

void save(SDL_Surface* s, const std::string& path) {
    if (SDL_SaveBMP(s, path.c_str()) != 0) throw std::runtime_error(SDL_GetError());
    SDL_FreeSurface(s);
}

}  // namespace

void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns) {
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, frameCount * frameWidth + extraColumns, height, 24, SDL_PIXELFORMAT_BGR24);
    for (int i = 0; i < frameCount; ++i) {
        fill(s, SDL_Rect{i * frameWidth, 0, frameWidth, height}, frameColour(i));
    }
    if (extraColumns > 0) fill(s, SDL_Rect{frameCount * frameWidth, 0, extraColumns, height}, {255, 128, 0});
    save(s, path);
}

void writeSolidBmp(const std::string& path, int width, int height, Rgb colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
    fill(s, SDL_Rect{0, 0, width, height}, colour);
    save(s, path);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& dir) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() { std::filesystem::current_path(previous); }

void writeTestResources(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "resources");
    writeSolidSheet((dir / "resources" / "debug.bmp").string(), 7, 32, 32);
    writeSolidBmp((dir / "resources" / "border.bmp").string(), 32, 32, {60, 30, 0});
    writeSolidSheet((dir / "resources" / "courier.bmp").string(), 37, 10, 16);
    // Sounds and figures are the shipped ones, from the build folder the tests run in.
    for (const char* name : {"s1.wav", "s2.wav", "s3.wav", "s4.wav", "wendle", "debugman"}) {
        std::filesystem::path shipped = std::filesystem::current_path() / "resources" / name;
        if (std::filesystem::exists(shipped)) {
            std::filesystem::copy(shipped, dir / "resources" / name,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
    }
}

}  // namespace testsupport
