#pragma once
// Test support: a software renderer drawing into a plain surface whose pixels
// the tests read back, and sprite sheets made of solid-colour frames so that a
// pixel tells which frame was drawn where.
#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Distinct, easily told apart frame colours; frame i of a test sheet is
// frameColour(i).
inline const std::vector<Rgb> kFrameColours = {
    {200, 0, 0},   {0, 200, 0},   {0, 0, 200},    {200, 200, 0}, {200, 0, 200},
    {0, 200, 200}, {250, 250, 250}, {120, 60, 10}, {10, 60, 120},
};

// Colour of frame i of a test sheet: kFrameColours first, then further
// distinct colours for long sheets such as the font.
Rgb frameColour(int i);

struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Fills the whole canvas with c.
    void clear(Rgb c);
    Rgb pixel(int x, int y) const;
    // Number of pixels of colour c inside rect (clipped to the canvas).
    int count(Rgb c, SDL_Rect rect) const;
    int count(Rgb c) const { return count(c, SDL_Rect{0, 0, surface->w, surface->h}); }
};

// A folder under the system's temporary folder, removed when the object goes.
struct TempDir {
    std::filesystem::path path;
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return (path / name).string(); }
};

// Writes a 24-bit BMP of frameCount solid frames, each frameWidth x height, in
// kFrameColours order, followed by extraColumns columns of a further colour.
void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns = 0);

// Writes a 24-bit BMP of one colour.
void writeSolidBmp(const std::string& path, int width, int height, Rgb colour);

}  // namespace testsupport

namespace testsupport {

// Makes dir the working directory until destroyed, then restores the old one.
struct WorkingDirectory {
    std::filesystem::path previous;
    explicit WorkingDirectory(const std::filesystem::path& dir);
    ~WorkingDirectory();
};

// Lays out a complete resources/ folder of test content under dir: solid test
// sheets (debug.bmp 7 x 32, border.bmp 32, courier.bmp 37 x 10 by 16), and the
// shipped sounds and figures copied from the working directory's resources/.
void writeTestResources(const std::filesystem::path& dir);

}  // namespace testsupport
