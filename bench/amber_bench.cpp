// amber-bench: how long the board's rules, the game's update, a frame's
// drawing and the two figures take, headless on SDL's software renderer.
// Run from the build folder (it reads resources/ like the game) with the
// dummy video and audio drivers.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <memory>
#include <string>

#include "draw_record.h"
#include "loads.h"
#include "media/content.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kHeavyPieceCount = bench::kFiredPieceCount + bench::kFragmentCount;

// The load must not have changed under the timed updates, or the numbers
// describe some other board.
bool heavyLoadHeld(const Board& board) { return board.pieces.size() == kHeavyPieceCount && board.lives == kStartLives; }

void runBoardUpdates(benchmark::State& state, Board& board) {
    for (auto _ : state) {
        bench::pinClock(board);
        board.update();
    }
    state.counters["pieces"] = static_cast<double>(board.pieces.size());
}

void BM_BoardUpdateEmpty(benchmark::State& state) {
    fillPieceStepLists();
    Board board(nullptr, kSoundCount);
    board.area = bench::screenBoardArea();
    runBoardUpdates(state, board);
}
BENCHMARK(BM_BoardUpdateEmpty);

void BM_BoardUpdateFullWall(benchmark::State& state) {
    fillPieceStepLists();
    Board board(nullptr, kSoundCount);
    board.area = bench::screenBoardArea();
    bench::fillWall(board);
    runBoardUpdates(state, board);
    if (board.lives != kStartLives) state.SkipWithError("the wall cost a life: the load changed");
}
BENCHMARK(BM_BoardUpdateFullWall);

void BM_BoardUpdateHeavy(benchmark::State& state) {
    Board board(nullptr, kSoundCount);
    bench::buildHeavyLoad(board, nullptr);
    runBoardUpdates(state, board);
    if (!heavyLoadHeld(board)) state.SkipWithError("pieces hit something: the load changed");
}
BENCHMARK(BM_BoardUpdateHeavy);

void BM_GameUpdateHeavy(benchmark::State& state) {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    auto game = bench::heavyGame(canvas);
    for (auto _ : state) {
        bench::pinClock(*game->board);
        game->update();
    }
    if (!heavyLoadHeld(*game->board)) state.SkipWithError("pieces hit something: the load changed");
}
BENCHMARK(BM_GameUpdateHeavy);

void BM_GameRenderHeavy(benchmark::State& state) {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    auto game = bench::heavyGame(canvas);
    for (auto _ : state) game->render(canvas.renderer);
}
BENCHMARK(BM_GameRenderHeavy)->Unit(benchmark::kMicrosecond);

// A replay is only a fair baseline when it draws exactly the game's frame.
bool replayMatches(const bench::RecordedFrame& frame, benchmark::State& state) {
    if (!frame.identical) state.SkipWithError("the replay does not draw the game's frame");
    return frame.identical;
}

void BM_SdlReplayHeavy(benchmark::State& state) {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    auto game = bench::heavyGame(canvas);
    const bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    if (!replayMatches(frame, state)) return;
    for (auto _ : state) frame.recording.replay(canvas.renderer);
    state.counters["calls"] = static_cast<double>(frame.recording.calls.size());
}
BENCHMARK(BM_SdlReplayHeavy)->Unit(benchmark::kMicrosecond);

// The game's frame and its replay, alternated so that both see the same
// caches and clock speed; "ratio" is the game's total over the replay's.
void BM_RenderOverReplay(benchmark::State& state) {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    auto game = bench::heavyGame(canvas);
    const bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    if (!replayMatches(frame, state)) return;
    Clock::duration gameTime{}, replayTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        game->render(canvas.renderer);
        const auto middle = Clock::now();
        frame.recording.replay(canvas.renderer);
        const auto end = Clock::now();
        gameTime += middle - start;
        replayTime += end - middle;
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["game_us"] = std::chrono::duration<double, std::micro>(gameTime).count() / frames;
    state.counters["replay_us"] = std::chrono::duration<double, std::micro>(replayTime).count() / frames;
    state.counters["ratio"] = static_cast<double>(gameTime.count()) / static_cast<double>(replayTime.count());
}
BENCHMARK(BM_RenderOverReplay)->Unit(benchmark::kMicrosecond);

// The shipped figures, each as the game draws it: the player animated by its
// clip, the background figure posed by the game's update.
void runRigRender(benchmark::State& state, const char* directory, bool animate) {
    bench::Canvas canvas(bench::kScreenWidth, bench::kScreenHeight);
    std::unique_ptr<Character> figure = Character::load(canvas.renderer, directory);
    if (!figure) {
        state.SkipWithError("the figure did not load");
        return;
    }
    for (auto _ : state) figure->rig.render(canvas.renderer, animate);
    state.counters["bones"] = figure->rig.boneCount;
}

void BM_RigRenderWendle(benchmark::State& state) { runRigRender(state, "resources\\wendle", true); }
BENCHMARK(BM_RigRenderWendle)->Unit(benchmark::kMicrosecond);

void BM_RigRenderDebugman(benchmark::State& state) { runRigRender(state, "resources\\debugman", false); }
BENCHMARK(BM_RigRenderDebugman)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The game's own start-up: without an open mixer its sounds would not load.
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO);
    Mix_OpenAudio(kSampleRate, kAudioFormat, kAudioChannels, kAudioChunkSize);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
