#include "game/game.h"
#include "media/text.h"

void Game::render(SDL_Renderer*) {}

void Game::drawText(SDL_Renderer* renderer, std::int32_t size, std::string text, std::int32_t x, std::int32_t y) {
    const Texture& font = *fontTexture;
    layoutText(text, size, x, y, [&](const GlyphPlacement& glyph) {
        // A copy of the frame rectangle: the sheet's own selection stays put.
        SDL_Rect source = font.frameRect;
        source.x = glyph.cell * font.frameRect.w;
        SDL_RenderCopy(renderer, font.texture, &source, &glyph.destination);
    });
}
