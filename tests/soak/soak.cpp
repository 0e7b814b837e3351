// amber-soak: a long headless run of the real game loop (input events, update,
// release sweep, drawing) on a software renderer with seeded random input,
// through many games, every window size from 1 x 1 to 4000 x 3000, and long
// stretches in the lost state. Checks the board's invariants every frame and
// reports the peak resident memory.
//
// usage: amber-soak [FRAMES] [SEED] [MAX_RSS_MB]
#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/application.h"

namespace {

constexpr int kFramesPerGame = 20000;
// A lost game's background figure swells without end, and SDL's software
// renderer allocates a surface the size of each limb's destination: after a
// few thousand lost frames a single limb would need gigabytes there (a GPU
// renderer just clips the quad). So a lost game is played on for this many
// frames (its scale grows by about 9) and then a new game begins.
constexpr int kLostFramesPerGame = 300;
constexpr int kResizeEvery = 1500;

struct Soak {
    std::mt19937 random;
    Application app;
    SDL_Surface* surface = nullptr;
    long lostFrames = 0;
    long framesChecked = 0;
    std::size_t mostPieces = 0;

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

    void event(Uint32 type, auto fill) {
        SDL_Event e{};
        e.type = type;
        fill(e);
        app.handleEvent(e);
    }

    void randomInput() {
        if (pick(0, 3) == 0) {
            event(SDL_MOUSEMOTION, [&](SDL_Event& e) {
                // Anywhere, including far outside the window.
                e.motion.x = pick(-100, app.width + 100);
                e.motion.y = pick(-100, app.height + 100);
            });
        }
        for (Uint8 button : {Uint8(SDL_BUTTON_LEFT), Uint8(SDL_BUTTON_RIGHT), Uint8(SDL_BUTTON_MIDDLE)}) {
            int roll = pick(0, 99);
            if (roll < 4) event(SDL_MOUSEBUTTONDOWN, [&](SDL_Event& e) { e.button.button = button; });
            else if (roll < 7) event(SDL_MOUSEBUTTONUP, [&](SDL_Event& e) { e.button.button = button; });
        }
        if (pick(0, 199) == 0) {
            event(SDL_KEYDOWN, [&](SDL_Event& e) { e.key.keysym.scancode = pick(0, 1) ? SDL_SCANCODE_W : SDL_SCANCODE_S; });
        }
    }

    void resize() {
        int w, h;
        switch (pick(0, 5)) {
        case 0: w = 1; h = 1; break;
        case 1: w = 4000; h = 3000; break;
        case 2: w = pick(1, 70); h = pick(1, 250); break;
        default: w = pick(1, 4000); h = pick(1, 3000); break;
        }
        event(SDL_WINDOWEVENT, [&](SDL_Event& e) {
            e.window.event = SDL_WINDOWEVENT_RESIZED;
            e.window.data1 = w;
            e.window.data2 = h;
        });
    }

    bool boardIsSound(const Board& board, int previousLives) {
        for (int c = 0; c < board.columnCount; ++c)
            for (int r = 0; r < board.rowCount; ++r) {
                std::uint8_t v = board.cells[c][r];
                if (v > kSpecial && v != kEmptyCell) return false;
            }
        if (!board.removals.empty()) return false;
        for (const Piece* p : board.pieces)
            if (p->removed) return false;
        // A life at a time, never gained.
        return board.lives == previousLives || board.lives == previousLives - 1;
    }
};

long peakRssKb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 200000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261206u;
    const long maxRssMb = argc > 3 ? std::atol(argv[3]) : 0;

    Soak soak;
    soak.random.seed(seed);
    // The canvas stays one size; the game's layout follows the resize events,
    // so the huge and tiny layouts are drawn and clipped by the renderer.
    soak.surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGB888);
    soak.app.renderer = SDL_CreateSoftwareRenderer(soak.surface);
    if (!soak.app.renderer) {
        std::fprintf(stderr, "amber-soak: no software renderer: %s\n", SDL_GetError());
        return 1;
    }
    long failures = 0;
    int games = 0;
    long gameStart = 0;
    long lostSince = -1;
    for (long frame = 0; frame < frames; ++frame) {
        const bool lostLongEnough = lostSince >= 0 && frame - lostSince >= kLostFramesPerGame;
        if (frame == 0 || frame - gameStart >= kFramesPerGame || lostLongEnough) {
            gameStart = frame;
            lostSince = -1;
            soak.app.game.reset();
            soak.app.game = std::make_unique<Game>(soak.app.renderer, soak.app.width, soak.app.height);
            ++games;
        }
        if (frame % kResizeEvery == 0) soak.resize();
        Game& game = *soak.app.game;
        const int livesBefore = game.board->lives;
        soak.randomInput();
        game.update();
        sweepReleases(game);
        SDL_RenderClear(soak.app.renderer);
        game.render(soak.app.renderer);
        if (!soak.boardIsSound(*game.board, livesBefore)) {
            if (++failures <= 5) std::fprintf(stderr, "amber-soak: board broke its rules at frame %ld\n", frame);
        }
        if (game.board->lives <= 0) {
            ++soak.lostFrames;
            if (lostSince < 0) lostSince = frame;
        }
        soak.mostPieces = std::max(soak.mostPieces, game.board->pieces.size());
        ++soak.framesChecked;
    }
    soak.app.game.reset();
    SDL_DestroyRenderer(soak.app.renderer);
    SDL_FreeSurface(soak.surface);

    const long rssMb = peakRssKb() / 1024;
    std::printf("soak: %ld frames, %d games, %ld frames in the lost state, at most %zu pieces in flight, "
                "peak RSS %ld MB\n",
                soak.framesChecked, games, soak.lostFrames, soak.mostPieces, rssMb);
    bool ok = failures == 0 && (maxRssMb == 0 || rssMb <= maxRssMb);
    if (failures > 0) std::printf("soak: the board broke its rules in %ld frames\n", failures);
    if (maxRssMb > 0 && rssMb > maxRssMb) std::printf("soak: peak RSS above %ld MB\n", maxRssMb);
    return ok ? 0 : 1;
}
