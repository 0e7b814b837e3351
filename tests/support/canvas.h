#pragma once
// Test support: a software renderer drawing into a plain surface whose pixels
// the tests read back, sheets of solid-colour frames so that a pixel tells
// which frame was drawn where, and scratch folders.
#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <iterator>

namespace testsupport {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Frame i of a test sheet has colour frameColour(i); the first nine are kFrameColours.
inline constexpr Rgb kFrameColours[] = {
    {200, 0, 0},   {0, 200, 0},     {0, 0, 200},   {200, 200, 0}, {200, 0, 200},
    {0, 200, 200}, {250, 250, 250}, {120, 60, 10}, {10, 60, 120},
};
inline Rgb frameColour(int i) {
    if (i < int(std::size(kFrameColours))) return kFrameColours[i];
    return Rgb{std::uint8_t(10 + i * 6), 100, std::uint8_t(255 - i * 6)};
}

struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    Canvas(int width, int height);
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear(Rgb c) { SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, c.r, c.g, c.b)); }
    Rgb pixel(int x, int y) const;
    // Pixels of colour c inside rect (clipped to the canvas), or in all of it.
    int count(Rgb c, SDL_Rect rect) const;
    int count(Rgb c) const { return count(c, SDL_Rect{0, 0, surface->w, surface->h}); }
};

// A folder under the system's temporary folder, removed with the object.
struct TempDir {
    std::filesystem::path path;
    TempDir();
    ~TempDir() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

// Makes dir the working directory until destroyed, then restores the old one.
struct WorkingDirectory {
    std::filesystem::path previous;
    explicit WorkingDirectory(const std::filesystem::path& dir) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
};

// Writes a 24-bit BMP of frameCount solid frames, each frameWidth x height, in
// frameColour order (or all of colour only, when given), followed by
// extraColumns columns of orange.
void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns = 0,
                     const Rgb* only = nullptr);

// Lays out a complete resources/ under dir: test sheets (debug.bmp 7 x 32,
// border.bmp one 32-pixel tile of kTestBorder, courier.bmp 37 x 10 by 16) and
// the shipped sounds and figures from the working directory's resources/.
inline constexpr Rgb kTestBorder{60, 30, 0};
void writeTestResources(const std::filesystem::path& dir);

}  // namespace testsupport
