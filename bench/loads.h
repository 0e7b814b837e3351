#pragma once
// The loads the benchmarks put on the board and the game: a wall of colours
// and a swarm of pieces in flight that stays the same from one update to the
// next, so that every timed update does the same work.
#include <SDL.h>

#include <cstdint>
#include <memory>

#include "board/board.h"
#include "game/game.h"

namespace bench {

inline constexpr std::int32_t kScreenWidth = 640;
inline constexpr std::int32_t kScreenHeight = 480;
inline constexpr std::int32_t kFiredPieceCount = 100;
inline constexpr std::int32_t kFragmentCount = 400;
// Columns at the wall's left end that stay empty: a colour in column 0 costs a
// life and empties the board, and the pieces need a lane where they hit nothing.
inline constexpr std::int32_t kOpenColumns = 2;
// Frame counter set before every timed update: the next update counts it to
// 161, which neither shifts the wall nor moves the scroll offset off 0.
inline constexpr std::int32_t kPinnedFrame = 160;

// The board's rectangle in the 640 x 480 window.
SDL_Rect screenBoardArea();

// Fills every cell right of the open columns with a colour (no special cells)
// and empties the open columns.
void fillWall(Board& board);

// Adds kFiredPieceCount fired pieces (every tenth one special) and
// kFragmentCount fragments, all standing still inside the open columns: each
// runs its full list of steps every update and none of them ever hits a cell
// or leaves the board, so the load never changes.
void addHoveringPieces(Board& board, Texture* sheet);

// The full-wall, 500-piece load on board, whose area is set to the window's.
void buildHeavyLoad(Board& board, Texture* sheet);

// Stops the wall from drifting during a run of updates.
inline void pinClock(Board& board) { board.frameCounter = kPinnedFrame; }

// A software renderer drawing into a plain RGB888 surface, as the capture
// tool draws the game headless.
struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    // A canvas of the given size; renderer is null when SDL refuses one.
    Canvas(std::int32_t width, std::int32_t height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Fills the canvas with the game's background grey.
    void clear();
    // A copy of the pixels drawn so far; the caller frees it.
    SDL_Surface* copyPixels() const;
    // True when the canvas holds exactly the pixels of picture.
    bool matches(const SDL_Surface* picture) const;
};

// A whole game (sheets, sounds, figures as far as they load) on canvas, with
// the heavy load on its board.
std::unique_ptr<Game> heavyGame(Canvas& canvas);

}  // namespace bench
