#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include "app/application.h"
#include "support/canvas.h"

namespace {

// A button or key event (code: SDL_BUTTON_* or SDL_SCANCODE_*), motion to
// (a, b), or a window event code with data (a, b).
SDL_Event ev(Uint32 type, int code = 0, int a = 0, int b = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) e.key.keysym.scancode = SDL_Scancode(code);
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) e.button.button = Uint8(code), e.button.x = a;
    if (type == SDL_MOUSEMOTION) e.motion.x = a, e.motion.y = b;
    if (type == SDL_WINDOWEVENT) e.window.event = Uint8(code), e.window.data1 = a, e.window.data2 = b;
    return e;
}

// Left, right, W and S as "held released" flags: "h-" held, "-r" released.
std::string buttons(const Game& g) {
    std::string s;
    for (const ButtonState* b : {&g.leftMouse, &g.rightMouse, &g.keyW, &g.keyS}) {
        s += std::string(b->held ? "h" : "-") + (b->releasedThisFrame ? "r " : "- ");
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

// Each frame's events, the buttons as the update sees them, then as the sweep leaves them.
TEST_F(ApplicationInput, PressesLastUntilTheSweepAfterTheirRelease) {
    constexpr Uint32 down = SDL_MOUSEBUTTONDOWN, up = SDL_MOUSEBUTTONUP, kdown = SDL_KEYDOWN, kup = SDL_KEYUP;
    const struct {
        std::vector<SDL_Event> events;
        std::string update, swept;
    } frames[] = {
        {{ev(down, SDL_BUTTON_LEFT), ev(up, SDL_BUTTON_LEFT)}, "hr -- -- -- ", "-- -- -- -- "},  // one update
        {{ev(up, SDL_BUTTON_RIGHT), ev(kup, SDL_SCANCODE_S)}, "-- -r -- -r ", "-- -- -- -- "},  // release only
        {{ev(down, SDL_BUTTON_RIGHT), ev(kdown, SDL_SCANCODE_W)}, "-- h- h- -- ", "-- h- h- -- "},
        {{ev(kdown, SDL_SCANCODE_S), ev(kup, SDL_SCANCODE_W)}, "-- h- hr h- ", "-- h- -- h- "},
        {{ev(up, SDL_BUTTON_RIGHT), ev(kup, SDL_SCANCODE_S)}, "-- hr -- hr ", "-- -- -- -- "},
        {{ev(down, SDL_BUTTON_MIDDLE), ev(down, SDL_BUTTON_X1), ev(up, SDL_BUTTON_X2), ev(kdown, SDL_SCANCODE_A),
          ev(kup, SDL_SCANCODE_SPACE)},
         "-- -- -- -- ", "-- -- -- -- "},
    };
    for (const auto& f : frames) {
        for (const SDL_Event& e : f.events) app.handleEvent(e);
        EXPECT_EQ(buttons(*app.game), f.update) << &f - frames;
        sweepReleases(*app.game);
        EXPECT_EQ(buttons(*app.game), f.swept) << &f - frames;
    }
}

// Only motion moves the pointer, only a finished resize the layout, a quit stops.
TEST_F(ApplicationInput, MotionResizeAndQuit) {
    app.handleEvent(ev(SDL_MOUSEMOTION, 0, 123, 321));
    app.handleEvent(ev(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6));
    app.handleEvent(ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, 700, 500));
    app.handleEvent(ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MOVED, 10, 10));
    EXPECT_EQ(std::tuple(app.game->mouseX, app.game->mouseY, app.width, app.game->height),
              std::tuple(123, 321, 640, 480));
    app.handleEvent(ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESIZED, 800, 600));
    EXPECT_EQ(std::tuple(app.width, app.height, app.game->width, app.game->height), std::tuple(800, 600, 800, 600));
    EXPECT_TRUE(app.running);
    app.handleEvent(ev(SDL_QUIT));
    EXPECT_FALSE(app.running);
}

TEST(FramePacing, DelayFillsTheFrameAndTheTitleShowsTheRate) {
    for (auto [elapsed, delay, frame, title] : {std::tuple{-3, 19u, 16.0f, 62}, {5, 11u, 16.0f, 62},
                                                {16, 0u, 16.0f, 62}, {20, 0u, 20.0f, 50}, {1001, 0u, 1001.0f, 0}}) {
        FramePacing p = paceFrame(elapsed);
        EXPECT_EQ(std::pair(p.delayMillis, p.frameMillis), std::pair(delay, frame)) << elapsed;
        EXPECT_EQ(frameRateTitle(1000.0f / p.frameMillis), "amber hollow (FPS: " + std::to_string(title) + ")");
    }
}

// Start-up on SDL's dummy drivers: the mixer opens as the sounds were made
// (44.1 kHz, 16-bit, stereo) and the missing accelerated renderer is said in
// one line. Then the real loop on a software renderer: events from the queue,
// the title from the 30th frame, and a quit that still finishes its frame.
TEST(Application, StartsTheMixerThenLoopsUntilAQuit) {
    testsupport::TempDir dir;
    testsupport::writeTestResources(dir.path);
    testsupport::WorkingDirectory cwd(dir.path);
    Application app;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(app.start());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Renderer creation error! : ", 0), 0u) << out;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(std::tuple(frequency, format, channels), std::tuple(44100, Uint16(AUDIO_S16LSB), 2));

    app.running = true;
    app.renderer = SDL_CreateRenderer(app.window, -1, SDL_RENDERER_SOFTWARE);
    app.game = std::make_unique<Game>(app.renderer, 640, 480);
    for (int frame = 1; frame < 30; ++frame) app.runFrame();
    EXPECT_STREQ(SDL_GetWindowTitle(app.window), "amber hollow");
    app.runFrame();
    EXPECT_EQ(std::string(SDL_GetWindowTitle(app.window)).rfind("amber hollow (FPS: ", 0), 0u);
    for (SDL_Event e : {ev(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), ev(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), ev(SDL_QUIT)}) {
        SDL_PushEvent(&e);
    }
    app.run();  // returns after the frame that handled the quit
    EXPECT_FALSE(app.running);
    EXPECT_EQ(buttons(*app.game), "-- -- -- -- ");
    app.shutdown();
    EXPECT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 0);
}

}  // namespace
