#pragma once
// A record of the SDL draw calls one frame makes, and their replay with no
// game code in between: the floor that Game::render is measured against.
//
// The calls are caught at link time: executables that link draw_record.cpp
// pass -Wl,--wrap for each call below, so the game's own objects, untouched,
// reach SDL through the wrappers here. Replays go through the same wrappers,
// so both sides of the comparison pay the same one-branch toll.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

// The draw calls the game makes, as many as it has kinds.
enum class DrawOp : std::uint8_t { Copy, CopyEx, SetColour, DrawRect, FillRect };

// One recorded call with its arguments copied; a null rectangle argument is
// kept as a flag, not as a pointer.
struct DrawCall {
    DrawOp op = DrawOp::Copy;
    SDL_Texture* texture = nullptr;
    SDL_Rect source{};
    SDL_Rect destination{};
    bool hasSource = false;
    bool hasDestination = false;
    bool hasCentre = false;
    SDL_Point centre{};
    double angle = 0;
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    SDL_Color colour{};
};

struct DrawRecording {
    std::vector<DrawCall> calls;

    // Makes the recorded calls again, in order, on renderer.
    void replay(SDL_Renderer* renderer) const;
    // How many recorded calls are of kind op.
    std::size_t count(DrawOp op) const;
};

// While one of these lives, every wrapped call is appended to recording
// (and still drawn). Scopes do not nest.
struct RecordingScope {
    explicit RecordingScope(DrawRecording& recording);
    ~RecordingScope();
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;
};

}  // namespace bench

struct Game;

namespace bench {

struct Canvas;

// One frame of game drawn and recorded, then replayed on the same canvas.
struct RecordedFrame {
    DrawRecording recording;
    bool identical = false;  // the replay drew exactly the frame's pixels
};

// Clears canvas, records game.render on it, keeps the picture, clears again,
// replays the record and compares. The game must draw on canvas's renderer.
RecordedFrame recordFrame(Game& game, Canvas& canvas);

}  // namespace bench
