// amber-bench-count: runs exactly one heavy-load Board::update or one frame's
// Game::render between callgrind's start and stop marks, so that
//   valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no amber-bench-count board
// counts the instructions of that one call and nothing else. Outside valgrind
// the marks do nothing.
//
// usage: amber-bench-count board|render
#include <SDL.h>
#include <SDL_mixer.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>

#include "loads.h"
#include "media/content.h"

namespace {

// The counted call runs second: the first pays for one-time set-up such as
// SDL's blit maps, which no later frame pays again.
template <typename Call>
void countSecondCall(Call call) {
    call();
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_TOGGLE_COLLECT;
    call();
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_STOP_INSTRUMENTATION;
}

int countBoardUpdate() {
    Board board(nullptr, kSoundCount);
    bench::buildHeavyLoad(board, nullptr);
    countSecondCall([&] {
        bench::pinClock(board);
        board.update();
    });
    std::printf("board update: %zu pieces\n", board.pieces.size());
    return 0;
}

int countGameRender() {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    auto game = bench::heavyGame(canvas);
    countSecondCall([&] { game->render(canvas.renderer); });
    std::printf("game render: %zu pieces\n", game->board->pieces.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "board") != 0 && std::strcmp(argv[1], "render") != 0)) {
        std::fprintf(stderr, "usage: amber-bench-count board|render\n");
        return 2;
    }
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO);
    Mix_OpenAudio(kSampleRate, kAudioFormat, kAudioChannels, kAudioChunkSize);
    const int status = std::strcmp(argv[1], "board") == 0 ? countBoardUpdate() : countGameRender();
    Mix_CloseAudio();
    SDL_Quit();
    return status;
}
