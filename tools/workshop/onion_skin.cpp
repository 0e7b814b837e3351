#include "onion_skin.h"

#include <algorithm>

namespace {

std::int32_t ghostFrame(const Stage& stage, std::int32_t frame) {
    const std::int32_t held = std::clamp(frame, 0, std::max(stage.clipLength() - 1, 0));
    return held == stage.frame ? -1 : held;
}

// A texture the ghost is drawn into, see-through where no limb is.
SDL_Texture* ghostTexture(SDL_Renderer* renderer, SDL_Texture*& texture, int width, int height) {
    int w = 0, h = 0;
    if (texture && SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) == 0 && w == width && h == height) return texture;
    if (texture) SDL_DestroyTexture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    if (texture) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

void drawGhost(SDL_Renderer* renderer, SDL_Texture* texture, Stage& stage, std::int32_t frame, SDL_Color tint) {
    SDL_Texture* target = SDL_GetRenderTarget(renderer);
    SDL_SetRenderTarget(renderer, texture);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
    SDL_RenderClear(renderer);
    stage.drawFigureAt(renderer, frame);
    SDL_SetRenderTarget(renderer, target);
    SDL_SetTextureColorMod(texture, tint.r, tint.g, tint.b);
    SDL_SetTextureAlphaMod(texture, kOnionAlpha);
}

}  // namespace

std::int32_t OnionSkin::beforeFrame(const Stage& stage) const { return ghostFrame(stage, stage.frame - spacing); }

std::int32_t OnionSkin::afterFrame(const Stage& stage) const { return ghostFrame(stage, stage.frame + spacing); }

bool OnionSkin::draw(SDL_Renderer* renderer, Stage& stage, int width, int height) {
    const bool made = ghostTexture(renderer, before, width, height) && ghostTexture(renderer, after, width, height);
    const std::int32_t first = beforeFrame(stage), last = afterFrame(stage);
    if (made && first >= 0) drawGhost(renderer, before, stage, first, kOnionBeforeTint);
    if (made && last >= 0) drawGhost(renderer, after, stage, last, kOnionAfterTint);
    Stage::clearToGrey(renderer);
    if (made && first >= 0) SDL_RenderCopy(renderer, before, nullptr, nullptr);
    if (made && last >= 0) SDL_RenderCopy(renderer, after, nullptr, nullptr);
    stage.drawFigureAt(renderer, stage.frame);
    return made;
}

void OnionSkin::release() {
    if (before) SDL_DestroyTexture(before);
    if (after) SDL_DestroyTexture(after);
    before = after = nullptr;
}
