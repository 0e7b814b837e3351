// amber hollow in the browser. The page cannot be held in a loop (and SDL_Delay
// there is a busy wait that stalls it), so the page's timer calls the same
// frame the desktop loop runs, at the same pace: one update every 16 ms of the
// page's clock, 62.5 a second, whatever the display's refresh rate.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

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

// Opening the mixer makes the page's AudioContext, and a page's first one
// holds the page while the browser finds its sound device: 270 to 370 ms in
// headless Chromium here, four times that on a slow phone. Asking the browser
// for its devices first finds the device without holding the page (the
// answer comes later, as a promise), and the AudioContext made after it takes
// under 20 ms. So the mixer's step waits for that answer. A page without the
// question (not served securely) goes straight on, and a browser slow to
// answer is waited for this long at most; either way the mixer opens as
// before and says so itself if it cannot.
constexpr double kSoundLookupMillis = 2000;
bool soundLookedUp = false;
bool startWaitsForSound = false;

void startTick(void*);

void lookUpSoundDevice() {
    EM_ASM({
        const done = () => Module._amber_sound_looked_up();
        const devices = navigator.mediaDevices;
        if (!devices || !devices.enumerateDevices) return done();
        // A refusal is no error of the game's: the mixer tries all the same.
        Promise.race([devices.enumerateDevices(), new Promise(late => setTimeout(late, $0))]).then(done, done);
    }, kSoundLookupMillis);
}

// The start runs one step per page task, so the page stays responsive (and
// can show its progress) while the game loads. Each step is a user-timing
// measure, "amber start: <step>", in the browser's performance profile.
void startTick(void*) {
    if (app.startStepsDone == kMixerStartStep && !soundLookedUp) {
        startWaitsForSound = true;
        return;
    }
    const char* name = app.nextStartName();
    const double began = emscripten_get_now();
    const bool ran = app.startNext();
    if (ran) {
        EM_ASM({
            performance.measure('amber start: ' + UTF8ToString($0), {start: $1, end: $2});
            if (Module.onStartStep) Module.onStartStep($3, $4);
        }, name, began, emscripten_get_now(), app.startStepsDone, kStartSteps);
        emscripten_set_timeout(startTick, 0, nullptr);
        return;
    }
    if (!app.running) {
        app.shutdown();
        return;
    }
    nextFrameAt = emscripten_get_now();
    tick(nullptr);
}

// The page's own frame and progress are painted before the start's first
// step: the step is put after the next animation frame.
EM_BOOL startAfterPaint(double, void*) {
    emscripten_set_timeout(startTick, 0, nullptr);
    return EM_FALSE;
}

// Queues a right-button press or release for the next frame's event pump, as
// if the mouse had sent it: the shot goes along the row last pointed at.
void pushRightButton(bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = app.window ? SDL_GetWindowID(app.window) : 0;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    if (app.game) {
        event.button.x = app.game->mouseX;
        event.button.y = app.game->mouseY;
    }
    SDL_PushEvent(&event);
}

}  // namespace

extern "C" {
// The page's answer to lookUpSoundDevice(): the mixer's step may run.
EMSCRIPTEN_KEEPALIVE void amber_sound_looked_up() {
    soundLookedUp = true;
    if (!startWaitsForSound) return;
    startWaitsForSound = false;
    emscripten_set_timeout(startTick, 0, nullptr);
}
// The page's special-shot control: 1 while it is held down, 0 on release.
EMSCRIPTEN_KEEPALIVE void amber_special(int down) { pushRightButton(down != 0); }
}

int main() {
    lookUpSoundDevice();
    emscripten_request_animation_frame(startAfterPaint, nullptr);
    // The page keeps the program alive after main: the start's steps and then
    // the frames' timer run on.
    return 0;
}
