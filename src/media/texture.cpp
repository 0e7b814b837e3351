#include "media/texture.h"

#include "platform/path.h"
#include "platform/report.h"

std::int32_t frameWidthOf(std::int32_t sheetWidth, std::int32_t frameCount) {
    return frameCount < 1 ? 0 : sheetWidth / frameCount;
}

Texture::Texture(const std::string& path, std::int32_t frames, SDL_Renderer* renderer) {
    loadFrames(path, frames, renderer);
}

Texture::~Texture() {
    if (texture) SDL_DestroyTexture(texture);
}

void Texture::load(const std::string& path, SDL_Renderer* renderer) { loadFrames(path, 1, renderer); }

void Texture::loadFrames(const std::string& file, std::int32_t frames, SDL_Renderer* renderer) {
    // SDL_LoadBMP_RW closes the stream whatever happens, and turns a null
    // stream (missing file) into a null surface with an error text.
    SDL_RWops* stream = SDL_RWFromFile(platform::nativePath(file).c_str(), "rb");
    SDL_Surface* surface = SDL_LoadBMP_RW(stream, 1);
    frameCount = frames;
    path = file;
    if (!surface) {
        platform::reportSdlError(kSurfaceLoadError);
        // Nothing below may touch the missing surface: leave an empty sheet that
        // draws nothing.
        texture = nullptr;
        width = height = 0;
        frameRect = SDL_Rect{0, 0, 0, 0};
        return;
    }
    SDL_SetColorKey(surface, SDL_TRUE,
                    SDL_MapRGB(surface->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue));
    texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    width = height = 0;
    if (texture) SDL_QueryTexture(texture, nullptr, nullptr, &width, &height);
    frameRect = SDL_Rect{0, 0, frameWidthOf(width, frameCount), height};
}

void Texture::reload(SDL_Renderer* renderer) {
    if (path.empty()) return;
    SDL_Texture* lost = texture;
    // With no renderer the texture is only let go (its renderer is about to
    // go): no file is read for a texture nobody can draw.
    if (renderer) loadFrames(path, frameCount, renderer);
    else texture = nullptr;
    if (lost) SDL_DestroyTexture(lost);
}

const SDL_Rect& Texture::selectFrame(std::int32_t n) {
    frameRect.x = n * frameRect.w;
    return frameRect;
}
