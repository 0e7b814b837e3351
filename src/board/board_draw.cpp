#include "board/board.h"
#include "media/texture.h"

namespace {

// Indicators above the board, relative to the area's top-left corner.
constexpr std::int32_t kLivesBarOffsetY = -52;
constexpr std::int32_t kBarHeight = 8;
constexpr std::int32_t kLifeWidth = 16;  // pixels of lives bar per life
constexpr std::int32_t kChargeBarOffsetX = 128;
constexpr std::int32_t kChargeBarFullWidth = 64;
constexpr double kChargeBarPixelsPerPoint = 1.6;
constexpr double kChargeGreenPerPoint = 6.375;
constexpr std::int32_t kSweepLineWidth = 4;

void drawFrame(SDL_Renderer* renderer, Texture& sheet, std::int32_t frame, const SDL_Rect& destination) {
    const SDL_Rect& source = sheet.selectFrame(frame);
    SDL_RenderCopy(renderer, sheet.texture, &source, &destination);
}

}  // namespace

EdgeCellCopy edgeCellCopy(const SDL_Rect& area, const SDL_Rect& destination, std::int32_t value,
                          const SDL_Rect& frameRect) {
    const std::int32_t fw = frameRect.w;
    // Source pixels per screen pixel: cells are 32 pixels on screen whatever the sheet's frame size.
    const float q = static_cast<float>(fw) * 0.03125f;
    EdgeCellCopy copy{};
    if (destination.x < area.x) {
        const std::int32_t o = destination.x - area.x;  // negative: pixels hidden left of the area
        copy.destination = SDL_Rect{area.x, destination.y, kCellSize + o, kCellSize};
        copy.source = SDL_Rect{
            static_cast<std::int32_t>(static_cast<float>(fw * value) - static_cast<float>(o) * q), frameRect.y,
            static_cast<std::int32_t>(static_cast<float>(o) * q + static_cast<float>(fw)), frameRect.h};
    } else {
        const std::int32_t w = area.x + area.w - destination.x;  // pixels still inside the area
        copy.destination = SDL_Rect{destination.x, destination.y, w, kCellSize};
        copy.source = SDL_Rect{fw * value, frameRect.y, static_cast<std::int32_t>(static_cast<float>(w) * q),
                               frameRect.h};
    }
    return copy;
}

ChargeBar chargeBarFor(std::int32_t charge) {
    if (charge > kSpecialCharge) return ChargeBar{kChargeBarFullWidth, 255};
    return ChargeBar{static_cast<std::int32_t>(charge * kChargeBarPixelsPerPoint),
                     static_cast<std::uint8_t>(static_cast<std::int32_t>(charge * kChargeGreenPerPoint))};
}

void Board::draw(SDL_Renderer* renderer, Texture& sheet, SDL_Rect givenArea) {
    area = givenArea;
    scrollOffset = scrollOffsetFor(frameCounter, shiftPeriod);
    drawCells(renderer, sheet);
    for (const Piece* piece : pieces) {
        SDL_Rect destination{static_cast<std::int32_t>(piece->x), static_cast<std::int32_t>(piece->y), piece->width,
                             piece->height};
        if (piece->texture) drawFrame(renderer, *piece->texture, piece->type, destination);
    }
    drawIndicators(renderer, sheet);
}

void Board::drawCells(SDL_Renderer* renderer, Texture& sheet) {
    const std::int32_t right = area.x + area.w;
    const std::int32_t bottom = area.y + area.h;
    for (std::int32_t col = 0; col < columnCount; ++col) {
        for (std::int32_t row = 0; row < rowCount; ++row) {
            const std::uint8_t v = cells[col][row];
            if (v == kEmptyCell) continue;
            const SDL_Rect d{area.x - scrollOffset + kCellSize * col, area.y + kCellSize * row, kCellSize, kCellSize};
            if (d.x >= area.x && d.x + kCellSize <= right && d.y >= area.y && d.y + kCellSize <= bottom) {
                drawFrame(renderer, sheet, v, d);
                continue;
            }
            if (d.x > right || d.x + kCellSize < area.x || d.y > bottom || d.y + kCellSize < area.y) continue;
            // A cell across the left or right edge shows only its part inside
            // the area; the trimming is ours, no clip rectangle is set.
            const EdgeCellCopy copy = edgeCellCopy(area, d, v, sheet.frameRect);
            SDL_RenderCopy(renderer, sheet.texture, &copy.source, &copy.destination);
        }
    }
}

void Board::drawIndicators(SDL_Renderer* renderer, Texture& sheet) {
    // Colour previews: the current colour large, the next one small, each on a special-cell plate.
    drawFrame(renderer, sheet, kSpecial, SDL_Rect{area.x + 64, area.y - 64, 32, 32});
    drawFrame(renderer, sheet, currentColour, SDL_Rect{area.x + 68, area.y - 60, 24, 24});
    drawFrame(renderer, sheet, kSpecial, SDL_Rect{area.x + 96, area.y - 64, 32, 32});
    drawFrame(renderer, sheet, nextColour, SDL_Rect{area.x + 104, area.y - 56, 16, 16});

    SDL_SetRenderDrawColor(renderer, 150, 150, 150, 50);
    const SDL_Rect sweepLine{area.x + sweepLineX, area.y, kSweepLineWidth, area.h};
    SDL_RenderDrawRect(renderer, &sweepLine);

    SDL_SetRenderDrawColor(renderer, 255, 0, 0, 0);
    // Lives keep falling below zero once the game is lost; an empty or
    // negative bar is simply not drawn.
    if (lives > 0) {
        const SDL_Rect livesBar{area.x, area.y + kLivesBarOffsetY, lives * kLifeWidth, kBarHeight};
        SDL_RenderFillRect(renderer, &livesBar);
    }

    const ChargeBar bar = chargeBarFor(charge);
    SDL_SetRenderDrawColor(renderer, 0, bar.green, bar.green, 255);
    const SDL_Rect chargeBar{area.x + kChargeBarOffsetX, area.y + kLivesBarOffsetY, bar.width, kBarHeight};
    // The draw colour stays at the charge bar's colour even when the bar is empty.
    if (bar.width > 0) SDL_RenderFillRect(renderer, &chargeBar);
}
