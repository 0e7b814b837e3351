#include "app/application.h"

#include <SDL_mixer.h>

#include "media/content.h"
#include "media/text.h"
#include "platform/report.h"

// The content tools write sounds in the mixer's format without SDL's names.
static_assert(kAudioFormat == AUDIO_S16LSB);

bool Application::start() {
    while (startNext()) {
    }
    return running;
}

const char* Application::nextStartName() const {
    constexpr const char* kLibrarySteps[] = {"SDL", "mixer", "window", "renderer"};
    if (startStepsDone < 4) return kLibrarySteps[startStepsDone];
    return game ? game->nextLoadName() : "";
}

bool Application::startNext() {
    // No step is skipped after an earlier failure: each may add its own line.
    switch (startStepsDone) {
    case 0:
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0) {
            platform::reportSdlError("Video initialization error! : ");
            running = false;
        }
        break;
    case kMixerStartStep:
        if (Mix_OpenAudio(kSampleRate, kAudioFormat, kAudioChannels, kAudioChunkSize) != 0) {
            platform::reportSdlError("Audio initialization error! : ");
            running = false;
        }
        break;
    case 2:
        window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                  kWindowFlags);
        if (!window) {
            platform::reportSdlError("Window creation error! : ");
            running = false;
        }
        break;
    case 3:
        renderer = SDL_CreateRenderer(window, -1, kRendererFlags);
        if (!renderer) {
            platform::reportSdlError("Renderer creation error! : ");
            running = false;
        }
        game = std::make_unique<Game>(Game::InSteps{}, width, height);
        break;
    default:
        if (!game || !game->loadNext(renderer)) return false;
        break;
    }
    ++startStepsDone;
    return true;
}

void Application::run() {
    do {
        runFrame();
    } while (running);
}

void Application::runFrame(bool waitOut) {
    std::uint32_t first = SDL_GetTicks();
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleEvent(event);
    game->update();
    sweepReleases(*game);
    std::uint32_t second = SDL_GetTicks();

    SDL_RenderClear(renderer);
    game->render(renderer);
    SDL_RenderPresent(renderer);

    FramePacing pacing = paceFrame(static_cast<std::int32_t>(second - first));
    if (waitOut && pacing.delayMillis > 0) SDL_Delay(pacing.delayMillis);
    if (++framesSinceTitle == kTitleEveryFrames) {
        framesSinceTitle = 0;
        showFrameRate(1000.0f / pacing.frameMillis);
    }
}

void Application::handleEvent(const SDL_Event& event) {
    Game& g = *game;
    switch (event.type) {
    case SDL_QUIT:
        running = false;
        break;
    case SDL_WINDOWEVENT:
        // Only a finished resize moves the layout; SIZE_CHANGED and the rest
        // are ignored.
        if (event.window.event == SDL_WINDOWEVENT_RESIZED) {
            width = g.width = event.window.data1;
            height = g.height = event.window.data2;
        }
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.scancode == SDL_SCANCODE_S) g.keyS.held = true;
        if (event.key.keysym.scancode == SDL_SCANCODE_W) g.keyW.held = true;
        break;
    case SDL_KEYUP:
        if (event.key.keysym.scancode == SDL_SCANCODE_S) g.keyS.releasedThisFrame = true;
        if (event.key.keysym.scancode == SDL_SCANCODE_W) g.keyW.releasedThisFrame = true;
        break;
    case SDL_MOUSEMOTION:
        g.mouseX = event.motion.x;
        g.mouseY = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) g.leftMouse.held = true;
        if (event.button.button == SDL_BUTTON_RIGHT) g.rightMouse.held = true;
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) g.leftMouse.releasedThisFrame = true;
        if (event.button.button == SDL_BUTTON_RIGHT) g.rightMouse.releasedThisFrame = true;
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        // The renderer has lost its textures (a Windows device reset, a lost
        // WebGL context): make them again from their files and play on.
        g.remakeTextures(renderer);
        break;
    default:
        break;
    }
}

void Application::showFrameRate(float framesPerSecond) {
    SDL_SetWindowTitle(window, frameRateTitle(framesPerSecond).c_str());
}

void Application::shutdown() {
    // Sounds must go before the mixer closes and textures before the renderer.
    game.reset();
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    renderer = nullptr;
    window = nullptr;
    Mix_CloseAudio();
    SDL_Quit();
}

void sweepReleases(Game& game) {
    for (ButtonState* button : {&game.leftMouse, &game.rightMouse, &game.keyW, &game.keyS}) {
        if (button->releasedThisFrame) button->held = false;
        button->releasedThisFrame = false;
    }
}

FramePacing paceFrame(std::int32_t elapsedMillis) {
    if (elapsedMillis < static_cast<std::int32_t>(kFrameMillis)) {
        return FramePacing{kFrameMillis - static_cast<std::uint32_t>(elapsedMillis), 16.0f};
    }
    return FramePacing{0, static_cast<float>(elapsedMillis)};
}

std::string frameRateTitle(float framesPerSecond) {
    return std::string(kWindowTitle) + " (FPS: " + intToString(static_cast<std::int32_t>(framesPerSecond)) + ")";
}
