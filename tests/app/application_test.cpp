#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include "app/application.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

SDL_Event mouseButton(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    return e;
}

SDL_Event key(Uint32 type, SDL_Scancode code) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = code;
    return e;
}

SDL_Event windowEvent(Uint8 code, int a, int b) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = code;
    e.window.data1 = a;
    e.window.data2 = b;
    return e;
}

struct ApplicationInput : testing::Test {
    Application app;
    void SetUp() override {
        testing::internal::CaptureStdout();  // the game's resources may be absent here
        app.game = std::make_unique<Game>(nullptr, 640, 480);
        testing::internal::GetCapturedStdout();
    }
    Game& game() { return *app.game; }
};

TEST_F(ApplicationInput, PressesLastUntilTheSweepAfterTheirRelease) {
    // Pressed and released within one frame: seen by exactly one update.
    app.handleEvent(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    app.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT));
    EXPECT_TRUE(game().leftMouse.held && game().leftMouse.releasedThisFrame);
    sweepReleases(game());
    EXPECT_FALSE(game().leftMouse.held || game().leftMouse.releasedThisFrame);

    // A release without a press only flags the release, for one frame.
    app.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT));
    EXPECT_FALSE(game().rightMouse.held);
    sweepReleases(game());
    EXPECT_FALSE(game().rightMouse.releasedThisFrame);

    // Held over several frames, still held in the release frame's update.
    app.handleEvent(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT));
    for (int frame = 0; frame < 3; ++frame) sweepReleases(game());
    app.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT));
    EXPECT_TRUE(game().rightMouse.held);
    sweepReleases(game());
    EXPECT_FALSE(game().rightMouse.held);
}

TEST_F(ApplicationInput, KeysByScancodeAndMotionMoveThePointer) {
    app.handleEvent(key(SDL_KEYDOWN, SDL_SCANCODE_W));
    app.handleEvent(key(SDL_KEYDOWN, SDL_SCANCODE_S));
    EXPECT_TRUE(game().keyW.held);
    EXPECT_TRUE(game().keyS.held);
    app.handleEvent(key(SDL_KEYUP, SDL_SCANCODE_S));
    sweepReleases(game());
    EXPECT_TRUE(game().keyW.held);
    EXPECT_FALSE(game().keyS.held);

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 123;
    motion.motion.y = 321;
    app.handleEvent(motion);
    EXPECT_EQ(game().mouseX, 123);
    EXPECT_EQ(game().mouseY, 321);
    // Button events carry a position too, but only motion moves the pointer.
    SDL_Event press = mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    press.button.x = 5;
    press.button.y = 6;
    app.handleEvent(press);
    EXPECT_EQ(game().mouseX, 123);
    EXPECT_EQ(game().mouseY, 321);
}

TEST_F(ApplicationInput, IgnoredButtonsKeysAndWindowEvents) {
    for (Uint8 button : {Uint8(SDL_BUTTON_MIDDLE), Uint8(SDL_BUTTON_X1), Uint8(SDL_BUTTON_X2)}) {
        app.handleEvent(mouseButton(SDL_MOUSEBUTTONDOWN, button));
        app.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, button));
    }
    app.handleEvent(key(SDL_KEYDOWN, SDL_SCANCODE_A));
    app.handleEvent(key(SDL_KEYUP, SDL_SCANCODE_SPACE));
    app.handleEvent(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
    app.handleEvent(windowEvent(SDL_WINDOWEVENT_MOVED, 10, 10));
    for (const ButtonState* b : {&game().leftMouse, &game().rightMouse, &game().keyW, &game().keyS}) {
        EXPECT_FALSE(b->held);
        EXPECT_FALSE(b->releasedThisFrame);
    }
    EXPECT_EQ(game().width, 640);
    EXPECT_EQ(app.width, 640);
    EXPECT_TRUE(app.running);

    app.handleEvent(windowEvent(SDL_WINDOWEVENT_RESIZED, 800, 600));
    EXPECT_EQ(game().width, 800);
    EXPECT_EQ(game().height, 600);
    EXPECT_EQ(app.width, 800);
    EXPECT_EQ(app.height, 600);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    app.handleEvent(quit);
    EXPECT_FALSE(app.running);
}

TEST(FramePacing, DelayFillsTheFrameAndTheTitleShowsTheRate) {
    FramePacing fast = paceFrame(5);
    EXPECT_EQ(fast.delayMillis, 11u);
    EXPECT_EQ(fast.frameMillis, 16.0f);
    FramePacing exact = paceFrame(16);
    EXPECT_EQ(exact.delayMillis, 0u);
    EXPECT_EQ(exact.frameMillis, 16.0f);
    FramePacing slow = paceFrame(20);
    EXPECT_EQ(slow.delayMillis, 0u);
    EXPECT_EQ(slow.frameMillis, 20.0f);
    EXPECT_EQ(frameRateTitle(1000.0f / fast.frameMillis), "amber hollow (FPS: 62)");
    EXPECT_EQ(frameRateTitle(1000.0f / exact.frameMillis), "amber hollow (FPS: 62)");
    EXPECT_EQ(frameRateTitle(1000.0f / slow.frameMillis), "amber hollow (FPS: 50)");
}

// The real loop on SDL's dummy video driver: events from the queue, the
// title from the 30th frame, and a quit that still finishes its frame.
TEST(FrameLoop, TitleFromTheThirtiethFrameAndQuitEndsTheLoop) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    testsupport::TempDir dir;
    testsupport::writeTestResources(dir.path);
    testsupport::WorkingDirectory cwd(dir.path);
    Application app;
    app.window = SDL_CreateWindow(kWindowTitle, 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
    ASSERT_NE(app.window, nullptr) << SDL_GetError();
    app.renderer = SDL_CreateRenderer(app.window, -1, SDL_RENDERER_SOFTWARE);
    app.game = std::make_unique<Game>(app.renderer, 640, 480);

    for (int frame = 1; frame < 30; ++frame) app.runFrame();
    EXPECT_STREQ(SDL_GetWindowTitle(app.window), "amber hollow");
    app.runFrame();
    EXPECT_EQ(std::string(SDL_GetWindowTitle(app.window)).rfind("amber hollow (FPS: ", 0), 0u);

    SDL_Event e = mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    SDL_PushEvent(&e);
    e = mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    SDL_PushEvent(&e);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    app.run();  // returns after the frame that handled the quit
    EXPECT_FALSE(app.running);
    EXPECT_FALSE(app.game->leftMouse.held);
    EXPECT_FALSE(app.game->leftMouse.releasedThisFrame);
    app.shutdown();
}

}  // namespace
