// The benchmarks measure what they claim only if their load stays put and the
// replayed frame is the game's frame; this fails when a change to the rules or
// the drawing quietly breaks either.
#include <gtest/gtest.h>

#include "draw_record.h"
#include "loads.h"

constexpr std::size_t kLoadPieces = bench::kFiredPieceCount + bench::kFragmentCount;

TEST(BenchLoads, GameKeepsTheLoadAndTheReplayDrawsExactlyItsFrame) {
    bench::Canvas canvas{bench::kScreenWidth, bench::kScreenHeight};
    ASSERT_NE(canvas.renderer, nullptr);
    const std::unique_ptr<Game> game = bench::heavyGame(canvas);
    for (int i = 0; i < 200; ++i) {
        bench::pinClock(*game->board);
        game->update();
    }
    EXPECT_EQ(game->board->pieces.size(), kLoadPieces);
    EXPECT_EQ(game->board->lives, kStartLives);
    bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    EXPECT_TRUE(frame.identical);
    // Every piece and every visible wall cell is one copy, so the record
    // cannot be a stray subset of the frame.
    EXPECT_GT(frame.recording.count(bench::DrawOp::Copy) + frame.recording.count(bench::DrawOp::CopyEx),
              kLoadPieces + 16 * kRowCount);
    EXPECT_EQ(frame.recording.count(bench::DrawOp::DrawRect), 1u);  // the sweep line
    EXPECT_EQ(frame.recording.count(bench::DrawOp::FillRect), 1u);  // lives; the charge bar is empty
}
