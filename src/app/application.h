#pragma once
// The program's shell: library start-up, the one window, the event pump that
// fills the Game's input state, frame pacing and the frame-rate title.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "game/game.h"

inline constexpr std::int32_t kWindowWidth = 640;
inline constexpr std::int32_t kWindowHeight = 480;
inline constexpr std::uint32_t kFrameMillis = 16;      // frame cap
inline constexpr std::uint8_t kTitleEveryFrames = 30;  // frames between title updates
inline constexpr const char* kWindowTitle = "amber hollow";
// The browser's page scales the picture to its window itself; there a
// resizable window would follow the canvas's size on the page and the game's
// layout with it, so the game keeps its 640 x 480 window.
//
// The browser's game draws with SDL's software renderer into the canvas's 2D
// context: the very pixels of the native software frames, and no WebGL,
// whose first frames held a phone's page for hundreds of milliseconds and
// whose context the browser may take away.
#ifdef __EMSCRIPTEN__
inline constexpr Uint32 kWindowFlags = SDL_WINDOW_SHOWN;
inline constexpr Uint32 kRendererFlags = SDL_RENDERER_SOFTWARE;
#else
inline constexpr Uint32 kWindowFlags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
inline constexpr Uint32 kRendererFlags = SDL_RENDERER_ACCELERATED;
#endif

struct Application {
    std::int32_t width = kWindowWidth;
    std::int32_t height = kWindowHeight;
    bool running = true;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<Game> game;

    // Starts SDL video and audio, the mixer, the window and the renderer, then
    // constructs the Game whatever happened. Each failure prints its line and
    // clears running. Returns running.
    bool start();
    // The same start one step at a time, for the browser's page, which must
    // not be held up long by any one task: SDL, the mixer, the window, the
    // renderer, then each of the Game's parts. Each call runs the next step
    // and returns true; once all have run it returns false and does nothing.
    // running says, as after start(), whether every step succeeded.
    bool startNext();
    // The name of the step startNext() runs next, for the page's start-up
    // profile; "" once the start is done.
    const char* nextStartName() const;
    // Runs frames until a quit event has been handled.
    void run();
    // One frame: events, update, release sweep, drawing, pacing, title. The
    // desktop loop waits out the rest of the 16 ms itself (waitOut); the
    // browser's timer keeps the time there, and waiting would stall the page.
    void runFrame(bool waitOut = true);
    // Applies one SDL event to the input state (quit, resize, W/S, mouse), or
    // remakes the game's textures when the renderer reports it lost them.
    void handleEvent(const SDL_Event& event);
    // Sets the title to "amber hollow (FPS: N)", N the truncated rate.
    void showFrameRate(float framesPerSecond);
    // Releases everything in reverse order of creation.
    void shutdown();

    std::uint8_t framesSinceTitle = 0;
    std::int32_t startStepsDone = 0;  // of kStartSteps
};

// The start's steps: four of the libraries and the window, then the Game's parts.
inline constexpr std::int32_t kStartSteps = 4 + kLoadParts;
// The step that opens the mixer (the browser's page prepares for it).
inline constexpr std::int32_t kMixerStartStep = 1;

// A release clears held; every releasedThisFrame is cleared. Buttons in the
// order left, right, W, S.
void sweepReleases(Game& game);

// Frame pacing: the delay after a frame whose events, update and sweep took
// elapsed milliseconds (signed), and the frame time it counts as.
struct FramePacing {
    std::uint32_t delayMillis;
    float frameMillis;
};
FramePacing paceFrame(std::int32_t elapsedMillis);

// "amber hollow (FPS: N)" for the given rate.
std::string frameRateTitle(float framesPerSecond);
