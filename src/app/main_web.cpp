// amber hollow in the browser. The page cannot be held in a loop (and SDL_Delay
// there is a busy wait that stalls it), so the page's timer calls the same
// frame the desktop loop runs, at the same pace: one update every 16 ms of the
// page's clock, 62.5 a second, whatever the display's refresh rate.
#include <emscripten.h>
#include <emscripten/eventloop.h>

#include "app/application.h"

namespace {

Application app;  // lives as long as the page
double nextFrameAt = 0;  // page clock, milliseconds
double framesRun = 0;

// Further behind than this (a hidden tab's timers are throttled), the game
// picks up from now instead of racing through every missed frame.
constexpr double kMaxCatchUpMillis = 250;

void tick(void*) {
    const double now = emscripten_get_now();
    if (now - nextFrameAt > kMaxCatchUpMillis) nextFrameAt = now;
    // Frames fall due on a fixed 16 ms grid, so a timer that fires late is made
    // up on the next ones rather than slowing the game down.
    while (app.running && nextFrameAt <= now) {
        app.runFrame(false);
        if (++framesRun == 1) {
            EM_ASM(if (Module.onFirstFrame) Module.onFirstFrame(););
        }
        nextFrameAt += kFrameMillis;
    }
    if (!app.running) {
        app.shutdown();
        return;
    }
    double wait = nextFrameAt - emscripten_get_now();
    emscripten_set_timeout(tick, wait > 0 ? wait : 0, nullptr);
}

}  // namespace

// What the page's end-to-end test reads back; none of it changes the game.
extern "C" {
EMSCRIPTEN_KEEPALIVE double amber_frames() { return framesRun; }
// The board row of the piece fired last that is still in flight, or -1.
EMSCRIPTEN_KEEPALIVE int amber_newest_piece_row() {
    if (!app.game || app.game->board->pieces.empty()) return -1;
    return app.game->board->rowAt(static_cast<std::int32_t>(app.game->board->pieces.back()->y));
}
EMSCRIPTEN_KEEPALIVE int amber_right_held() { return app.game && app.game->rightMouse.held ? 1 : 0; }
}

int main() {
    if (!app.start()) {
        app.shutdown();
        return 1;
    }
    nextFrameAt = emscripten_get_now();
    tick(nullptr);
    // The page keeps the program alive after main: the timer runs on.
    return 0;
}
