// amber-soak: a long headless run of the real game loop (input events, update,
// release sweep, drawing) on a software renderer with seeded random input,
// through many games, window sizes from 1 x 1 to 4000 x 3000 and stretches in
// the lost state. Checks the rules after every frame; reports peak memory.
// usage: amber-soak FRAMES SEED MAX_RSS_MB
#ifdef _WIN32
#include <windows.h>  // peak working set: MinGW has no getrusage
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/application.h"
#include "replay/scripted_game.h"

namespace {

constexpr long kFramesPerGame = 20000;
// A lost game's background figure swells without end, and SDL's software
// renderer allocates a surface the size of each limb's destination: after a
// few thousand lost frames one limb would need gigabytes there (a GPU renderer
// just clips the quad). So a lost game plays on this long, then a new begins.
constexpr long kLostFramesPerGame = 300;
constexpr long kResizeEvery = 1500;

std::mt19937 generator;
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(generator); }


// The pointer anywhere, even far outside the window; all three buttons. (W and
// S change only the input state, which the shell's own test covers.)
void randomInput(Application& app) {
    if (pick(0, 3) == 0) {
        const int x = pick(-100, app.width + 100), y = pick(-100, app.height + 100);
        app.handleEvent({.motion = {.type = SDL_MOUSEMOTION, .x = x, .y = y}});
    }
    for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE})
        if (int r = pick(0, 99); r < 7)
            app.handleEvent({.button = {.type = Uint32(r < 4 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), .button = button}});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: amber-soak FRAMES SEED MAX_RSS_MB\n");
        return 2;
    }
    const long frames = std::atol(argv[1]), maxRssMb = std::atol(argv[3]);
    generator.seed(unsigned(std::atol(argv[2])));
    // The canvas stays one size; the game's layout follows the resize events,
    // so huge and tiny layouts are drawn and clipped by the renderer.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGB888);
    Application app;
    app.renderer = SDL_CreateSoftwareRenderer(surface);  // SDL's own, always there
    long broken = 0, gameStart = -kFramesPerGame, lostSince = -1;
    for (long frame = 0; frame < frames; ++frame) {
        if (frame - gameStart >= kFramesPerGame || (lostSince >= 0 && frame - lostSince >= kLostFramesPerGame)) {
            gameStart = frame;
            lostSince = -1;
            app.game.reset();  // the old game goes before the new
            app.game = std::make_unique<Game>(app.renderer, app.width, app.height);
        }
        if (frame % kResizeEvery == 0) {  // to 1 x 1, 4000 x 3000, a narrow strip or anything between
            const int kind = pick(0, 5), w = kind == 0 ? 1 : kind == 1 ? 4000 : pick(1, kind == 2 ? 70 : 4000);
            const int h = kind == 0 ? 1 : kind == 1 ? 3000 : pick(1, kind == 2 ? 250 : 3000);
            app.handleEvent({.window = {.type = SDL_WINDOWEVENT, .event = SDL_WINDOWEVENT_RESIZED, .data1 = w, .data2 = h}});
        }
        Board& board = *app.game->board;
        const std::int32_t scoreBefore = board.score, livesBefore = board.lives;
        randomInput(app);
        app.game->update();
        sweepReleases(*app.game);
        SDL_RenderClear(app.renderer);
        app.game->render(app.renderer);
        if (!boardKeepsItsRules(board, scoreBefore, livesBefore) && ++broken <= 5)
            std::fprintf(stderr, "amber-soak: the board broke its rules at frame %ld\n", frame);
        if (board.lives <= 0 && lostSince < 0) lostSince = frame;
    }
    app.shutdown();  // the game, then its renderer (nothing else was started)
    SDL_FreeSurface(surface);

#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS usage{};
    GetProcessMemoryInfo(GetCurrentProcess(), &usage, sizeof usage);
    const long rssMb = static_cast<long>(usage.PeakWorkingSetSize >> 20);
#else
    rusage usage{};
    const long rssMb = getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss / 1024 : 0;
#endif
    std::printf("soak: %ld frames, %ld broke the rules, peak RSS %ld MB (limit %ld)\n", frames, broken, rssMb, maxRssMb);
    return broken == 0 && rssMb <= maxRssMb ? 0 : 1;
}
