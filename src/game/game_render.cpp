#include "game/game.h"
#include "media/text.h"

void Game::render(SDL_Renderer* renderer) {
    const SDL_Rect boardArea = boardAreaFor(width, height, board->rowCount);
    board->draw(renderer, *pieceTexture, boardArea);
    drawBorder(renderer, boardArea);
    SDL_SetRenderDrawColor(renderer, kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 0);
    if (player) player->rig.render(renderer, true);
    // The background figure is turned by the update, not by its clip.
    if (background) background->rig.render(renderer, false);
    drawText(renderer, kHudGlyphSize,
             " score: " + intToString(board->score) + "\n charge: " + intToString(board->charge), kHudX, kHudY);
}

void Game::drawBorder(SDL_Renderer* renderer, const SDL_Rect& boardArea) {
    Texture& tile = *borderTexture;
    const SDL_Rect& source = tile.selectFrame(0);
    auto drawTile = [&](std::int32_t x, std::int32_t y) {
        const SDL_Rect destination{x, y, kBorderTileSize, kBorderTileSize};
        SDL_RenderCopy(renderer, tile.texture, &source, &destination);
    };
    const BorderRuns runs = borderRunsFor(width, board->rowCount);
    for (std::int32_t i = 0; i <= runs.lastAcross; ++i) drawTile(kBorderTileSize * i, boardArea.y - kBorderTileSize);
    for (std::int32_t i = 0; i <= runs.lastAcross; ++i) drawTile(kBorderTileSize * i, boardArea.y + kCellSize * runs.rows);
    for (std::int32_t j = 0; j <= runs.rows; ++j) drawTile(0, boardArea.y + kBorderTileSize * j);
    for (std::int32_t j = 0; j <= runs.rows + 1; ++j) {
        drawTile(width - kBorderTileSize, boardArea.y - kBorderTileSize + kBorderTileSize * j);
    }
}

BorderRuns borderRunsFor(std::int32_t width, std::int32_t rowCount) {
    // An arithmetic shift: a window narrower than two tiles gives a negative
    // count, and the top and bottom runs draw nothing.
    return BorderRuns{(width - 2 * kBorderTileSize) >> 5, rowCount};
}

void Game::drawText(SDL_Renderer* renderer, std::int32_t size, std::string text, std::int32_t x, std::int32_t y) {
    const Texture& font = *fontTexture;
    layoutText(text, size, x, y, [&](const GlyphPlacement& glyph) {
        // A copy of the frame rectangle: the sheet's own selection stays put.
        SDL_Rect source = font.frameRect;
        source.x = glyph.cell * font.frameRect.w;
        SDL_RenderCopy(renderer, font.texture, &source, &glyph.destination);
    });
}
