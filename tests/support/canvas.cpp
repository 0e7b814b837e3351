#include "support/canvas.h"

#include "skeleton/clip_file.h"
#include "skeleton/rig_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

Canvas::Canvas(int width, int height)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
      renderer(SDL_CreateSoftwareRenderer(surface)) {}

int Canvas::count(Rgb c, SDL_Rect rect) const {
    // Colour only: the low 24 bits of an ARGB8888 pixel, whatever its alpha.
    const Uint32 wanted = SDL_MapRGB(surface->format, c.r, c.g, c.b) & 0xffffff;
    const auto* pixels = static_cast<const Uint32*>(surface->pixels);
    int n = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, surface->h); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, surface->w); ++x)
            n += (pixels[y * surface->pitch / 4 + x] & 0xffffff) == wanted;
    return n;
}

TempDir::TempDir() {
    // Random, so that tests running side by side never share a folder.
    path = fs::temp_directory_path() / ("amber-test-" + std::to_string(std::random_device{}()));
    fs::create_directories(path);
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary) << std::string(bytes.begin(), bytes.end());
}

void writeSolidSheet(const std::string& path, int frameCount, int frameWidth, int height, int extraColumns,
                     const Rgb* only) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, frameCount * frameWidth + extraColumns, height, 24,
                                                    SDL_PIXELFORMAT_BGR24);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 128, 0));  // the extra columns
    for (int i = 0; i < frameCount; ++i) {
        const Rgb c = only ? *only : frameColour(i);
        SDL_Rect r{i * frameWidth, 0, frameWidth, height};
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
    // Removed first: MinGW's copy_file refuses to overwrite, whatever the options say.
    for (const char* sound : {"s1.wav", "s2.wav", "s3.wav", "s4.wav"}) {
        fs::remove(res / sound);
        fs::copy_file(fs::path(AMBER_BUILD_DIR) / "resources" / sound, res / sound);
    }
    for (const char* name : {"wendle", "debugman"}) {
        const fs::path figure = res / name;
        fs::create_directories(figure);
        writeFile(figure / "body.jrig",
                  encodeRig({.bones = {{.offsetX = 7, .offsetY = 9, .children = {1, 2}}, {}, {.angle = 1}}}));
        writeFile(figure / "idle.janim", encodeClip({{.boneIndex = 1, .duration = 4, .targetAngle = 1}}));
        writeFile(figure / "attack.janim", encodeClip({{.boneIndex = 1, .duration = 10, .targetAngle = 1}}));
        writeSolidSheet((figure / "limb0.bmp").string(), 1, 8, 8);
    }
}

int run(std::string program, const std::string& arguments) {
#ifdef _WIN32
    // cmd.exe reads "/" as an option; "\" starts from the drive's root.
    std::replace(program.begin(), program.end(), '/', '\\');
#endif
    return std::system(("\"" + program + "\" " + arguments).c_str());
}

}  // namespace testsupport
