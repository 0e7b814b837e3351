#pragma once
// A colour-keyed BMP sprite sheet: one row of equal frames, loaded once into a
// renderer texture.
#include <SDL.h>

#include <cstdint>
#include <string>

#include "media/content.h"

struct Texture {
    SDL_Texture* texture = nullptr;  // owned; null when nothing is loaded
    SDL_Rect frameRect{};            // source rectangle of the selected frame
    std::int32_t width = 0;          // whole sheet, pixels
    std::int32_t height = 0;
    std::int32_t frameCount = 1;
    std::string path;                // game path of the sheet; empty until a load

    // An empty texture; load() fills it.
    Texture() = default;
    // Loads the sheet at path (game separators allowed) with frameCount frames.
    // A failed load prints "Surface initialization error! : ..." and leaves the
    // texture empty: null texture, zero sizes, a zero frameRect.
    Texture(const std::string& path, std::int32_t frameCount, SDL_Renderer* renderer);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Loads a one-frame sheet (a limb image) into this texture; same failure
    // behaviour as the loading constructor.
    void load(const std::string& path, SDL_Renderer* renderer);

    // Makes the renderer texture again from the same file, with the same frame
    // count and colour key, for a renderer that has lost its textures. The new
    // texture is made before the old one is destroyed, so the two never share
    // an address. A file that is now missing is reported as at loading and
    // leaves the texture empty. A null renderer only destroys the texture,
    // leaving it empty until the next reload. Does nothing for a texture never loaded.
    void reload(SDL_Renderer* renderer);

    // Moves frameRect to frame n (x = n * frame width) and returns it; y, w and h
    // stay as loaded.
    const SDL_Rect& selectFrame(std::int32_t n);

private:
    void loadFrames(const std::string& file, std::int32_t frames, SDL_Renderer* renderer);
};

// Frame width of a sheet: width / frameCount, truncated; 0 when frameCount < 1.
std::int32_t frameWidthOf(std::int32_t sheetWidth, std::int32_t frameCount);
