#include "loads.h"

#include <cstring>

namespace bench {

namespace {

// Speeds stay zero: a piece moving at 4 (or a fragment at 15) pixels per
// update would leave the open lane within a few updates. The steps run the
// same instructions whatever the speed.
constexpr std::int32_t kStill = 0;
constexpr std::int32_t kSpecialEvery = 10;
constexpr std::uint8_t kBackgroundGrey = 100;

// A fired piece must stand in column 0: one in column 1 faces the wall.
constexpr std::int32_t kFiredLaneWidth = kCellSize;
// A fragment reaches kFragmentSize pixels right and down from its corner.
constexpr std::int32_t kFragmentLaneWidth = kOpenColumns * kCellSize - kFragmentSize;
constexpr std::int32_t kFragmentLaneHeight = kRowCount * kCellSize - kFragmentSize;

}  // namespace

SDL_Rect screenBoardArea() { return boardAreaFor(kScreenWidth, kScreenHeight, kRowCount); }

void fillWall(Board& board) {
    for (std::int32_t col = 0; col < board.columnCount; ++col) {
        for (std::int32_t row = 0; row < board.rowCount; ++row) {
            board.cells[col][row] =
                col < kOpenColumns ? kEmptyCell : static_cast<std::uint8_t>((col + row) % kColourCount);
        }
    }
}

void addHoveringPieces(Board& board, Texture* sheet) {
    const SDL_Rect& a = board.area;
    for (std::int32_t i = 0; i < kFiredPieceCount; ++i) {
        const bool special = i % kSpecialEvery == 0;
        const auto type = special ? kSpecial : static_cast<std::uint8_t>(i % kColourCount);
        board.addPiece(new Piece(type, sheet, special ? specialPieceSteps : normalPieceSteps,
                                 a.x + i % kFiredLaneWidth, a.y + (i * 7) % a.h, kStill, kStill, kPieceSize,
                                 kPieceSize));
    }
    for (std::int32_t i = 0; i < kFragmentCount; ++i) {
        const auto type = static_cast<std::uint8_t>(i % (kColourCount + 1));
        board.addPiece(new Piece(type, sheet, fragmentSteps, a.x + (i * 5) % kFragmentLaneWidth,
                                 a.y + (i * 11) % kFragmentLaneHeight, kStill, kStill, kFragmentSize,
                                 kFragmentSize));
    }
}

void buildHeavyLoad(Board& board, Texture* sheet) {
    fillPieceStepLists();
    board.area = screenBoardArea();
    fillWall(board);
    addHoveringPieces(board, sheet);
    pinClock(board);
}

Canvas::Canvas(std::int32_t width, std::int32_t height) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    if (surface) renderer = SDL_CreateSoftwareRenderer(surface);
}

Canvas::~Canvas() {
    if (renderer) SDL_DestroyRenderer(renderer);
    if (surface) SDL_FreeSurface(surface);
}

void Canvas::clear() {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, kBackgroundGrey, kBackgroundGrey, kBackgroundGrey));
}

SDL_Surface* Canvas::copyPixels() const { return SDL_ConvertSurfaceFormat(surface, surface->format->format, 0); }

bool Canvas::matches(const SDL_Surface* picture) const {
    if (!picture || picture->format->format != surface->format->format || surface->w != picture->w ||
        surface->h != picture->h) {
        return false;
    }
    const auto rowBytes = static_cast<std::size_t>(surface->w) * surface->format->BytesPerPixel;
    for (std::int32_t y = 0; y < surface->h; ++y) {
        const auto* mine = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
        const auto* theirs = static_cast<const std::uint8_t*>(picture->pixels) + y * picture->pitch;
        if (std::memcmp(mine, theirs, rowBytes) != 0) return false;
    }
    return true;
}

std::unique_ptr<Game> heavyGame(Canvas& canvas) {
    auto game = std::make_unique<Game>(canvas.renderer, kScreenWidth, kScreenHeight);
    buildHeavyLoad(*game->board, game->pieceTexture.get());
    return game;
}

}  // namespace bench
