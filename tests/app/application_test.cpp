// The shell around the game: events into the input state, the release sweep,
// resizes and quitting, frame pacing, and start-up and the real loop on SDL's
// dummy drivers.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <algorithm>

#include "app/application.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

SDL_Event mouse(Uint32 type, Uint8 button) { return {.button = {.type = type, .button = button}}; }
SDL_Event key(Uint32 type, SDL_Scancode code) { return {.key = {.type = type, .keysym = {.scancode = code}}}; }
SDL_Event window(Uint8 event, int width, int height) {
    return {.window = {.type = SDL_WINDOWEVENT, .event = event, .data1 = width, .data2 = height}};
}

// Left, right, W and S, each as "h" when held or "-", then "r" when released
// this frame or "-".
std::string buttons(const Game& g) {
    std::string s;
    for (const ButtonState* b : {&g.leftMouse, &g.rightMouse, &g.keyW, &g.keyS}) {
        s += b->held ? "h" : "-";
        s += b->releasedThisFrame ? "r " : "- ";
    }
    return s;
}

struct ApplicationInput : testing::Test {
    Application app;
    void SetUp() override {
        testing::internal::CaptureStdout();  // the game's resources may be absent here
        app.game = std::make_unique<Game>(nullptr, 640, 480);
        testing::internal::GetCapturedStdout();
    }
};

// Each frame's events, then the buttons as the update sees them and as the
// sweep after it leaves them.
TEST_F(ApplicationInput, PressesLastUntilTheSweepAfterTheirRelease) {
    constexpr Uint32 down = SDL_MOUSEBUTTONDOWN, up = SDL_MOUSEBUTTONUP, kdown = SDL_KEYDOWN, kup = SDL_KEYUP;
    const struct {
        std::vector<SDL_Event> events;
        std::string update, swept;
    } frames[] = {
        // A click within one frame is seen by its update.
        {{mouse(down, SDL_BUTTON_LEFT), mouse(up, SDL_BUTTON_LEFT)}, "hr -- -- -- ", "-- -- -- -- "},
        {{mouse(up, SDL_BUTTON_RIGHT), key(kup, SDL_SCANCODE_S)}, "-- -r -- -r ", "-- -- -- -- "},
        {{mouse(down, SDL_BUTTON_RIGHT), key(kdown, SDL_SCANCODE_W)}, "-- h- h- -- ", "-- h- h- -- "},
        {{key(kdown, SDL_SCANCODE_S), key(kup, SDL_SCANCODE_W)}, "-- h- hr h- ", "-- h- -- h- "},
        // Other buttons and keys change nothing.
        {{mouse(down, SDL_BUTTON_MIDDLE), key(kdown, SDL_SCANCODE_A)}, "-- h- -- h- ", "-- h- -- h- "},
    };
    for (const auto& f : frames) {
        SCOPED_TRACE(testing::Message() << "frame " << &f - frames);
        for (const SDL_Event& e : f.events) app.handleEvent(e);
        EXPECT_EQ(buttons(*app.game), f.update);
        sweepReleases(*app.game);
        EXPECT_EQ(buttons(*app.game), f.swept);
    }
}

// Only a finished resize moves the layout. (The pointer following the mouse,
// the layout after a resize and quitting when the window closes are read by
// the end-to-end test.)
TEST_F(ApplicationInput, OnlyAFinishedResizeMovesTheLayout) {
    app.handleEvent(window(SDL_WINDOWEVENT_SIZE_CHANGED, 700, 500));  // still being dragged
    EXPECT_EQ(app.width, 640);
    app.handleEvent(window(SDL_WINDOWEVENT_RESIZED, 800, 600));
    EXPECT_EQ(app.width, 800);
    EXPECT_EQ(app.height, 600);
}

TEST(FramePacing, DelayFillsTheFrameAndTheTitleShowsTheRate) {
    // (A frame of 16 ms shows 62 in the end-to-end test's title.)
    for (auto [elapsed, delay, rate] : {std::tuple{-3, 19u, 62}, {1001, 0u, 0}}) {
        SCOPED_TRACE(testing::Message() << elapsed << " ms elapsed");
        const FramePacing p = paceFrame(elapsed);
        EXPECT_EQ(p.delayMillis, delay);
        EXPECT_EQ(frameRateTitle(1000.0f / p.frameMillis), "amber hollow (FPS: " + std::to_string(rate) + ")");
    }
}

// Start-up on SDL's dummy drivers, which have no accelerated renderer (the
// end-to-end test reads the one line that says so; nothing else fails): the
// mixer opens as the sounds were made (44.1 kHz, 16-bit, stereo). Then the
// real loop on a software renderer: events from the queue, the title from
// the 30th frame, and a quit that still finishes its frame.
TEST(Application, StartsTheMixerThenLoopsUntilAQuit) {
    TempDir dir;
    writeTestResources(dir.path);
    WorkingDirectory cwd(dir.path);
    Application app;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(app.start());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::ranges::count(printed, '\n'), 1) << printed;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);

    app.running = true;
    app.renderer = SDL_CreateRenderer(app.window, -1, SDL_RENDERER_SOFTWARE);
    app.game = std::make_unique<Game>(app.renderer, 640, 480);
    for (int frame = 1; frame < 30; ++frame) app.runFrame();
    EXPECT_STREQ(SDL_GetWindowTitle(app.window), "amber hollow");
    app.runFrame();
    EXPECT_EQ(std::string(SDL_GetWindowTitle(app.window)).rfind("amber hollow (FPS: ", 0), 0u);
    for (SDL_Event e : {mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT),
                        SDL_Event{.type = SDL_QUIT}})
        SDL_PushEvent(&e);
    app.run();  // returns after the frame that handled the quit
    EXPECT_FALSE(app.running);
    EXPECT_EQ(buttons(*app.game), "-- -- -- -- ");
    app.shutdown();
    EXPECT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 0);
}

}  // namespace
