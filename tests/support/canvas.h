#pragma once
// Test support: a software renderer drawing into a plain surface whose pixels
// the tests read back, sheets of solid-colour frames so that a pixel tells
// which frame was drawn where, scratch folders and files, and other programs.
#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

struct Rgb {
    std::uint8_t r, g, b;
};

// The colour of frame i of a test sheet: green 100, unlike every other
// colour the tests draw or look for.
inline Rgb frameColour(int i) { return {std::uint8_t(10 + i * 6), 100, std::uint8_t(255 - i * 6)}; }

struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    Canvas(int width, int height);
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }

    // Pixels of colour c inside rect (clipped to the canvas), or in all of it.
    int count(Rgb c, SDL_Rect rect = {0, 0, 1 << 20, 1 << 20}) const;
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

// Writes bytes to the file at path, replacing it.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Writes a 24-bit BMP of frameCount solid frames, each frameWidth x height, in
// frameColour order (or all of colour only, when given), followed by
// extraColumns columns of orange (255, 128, 0).
void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns = 0,
                     const Rgb* only = nullptr);

// Lays out a complete resources/ under dir: test sheets (debug.bmp 7 x 32,
// border.bmp one 32-pixel tile of kTestBorder, courier.bmp 37 x 10 by 16),
// the shipped sounds, and one small figure as both wendle and debugman: three
// bones of scale 1, the root at (7, 9) with the other two as its children,
// the last at angle 1; an idle clip turning bone 1 over 4 frames and an
// attack over 10; one 8 x 8 limb.
inline constexpr Rgb kTestBorder{60, 30, 0};
void writeTestResources(const std::filesystem::path& dir);

// Runs program (a full path CMake gave the test) with arguments through the
// system's shell; its exit status.
int run(std::string program, const std::string& arguments);

}  // namespace testsupport
