// The benchmarks measure what they claim only if their loads stay put and the
// replayed frame is the game's frame; these checks fail when a change to the
// rules or the drawing quietly breaks either.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>

#include "draw_record.h"
#include "loads.h"

namespace {

using Grid = std::array<std::uint8_t, kColumnCount * kRowCount>;

Grid gridOf(const Board& board) {
    Grid grid{};
    for (std::int32_t col = 0; col < kColumnCount; ++col) std::memcpy(&grid[col * kRowCount], board.cells[col], kRowCount);
    return grid;
}

constexpr std::size_t kLoadPieces = bench::kFiredPieceCount + bench::kFragmentCount;

TEST(BenchLoads, HeavyLoadHasTheAdvertisedMixAndStaysTheSameOverManyUpdates) {
    Board board(nullptr, kSoundCount);
    bench::buildHeavyLoad(board, nullptr);
    const Grid before = gridOf(board);
    EXPECT_EQ(std::count(before.begin(), before.end(), kEmptyCell), bench::kOpenColumns * kRowCount);
    int fired = 0, special = 0;
    for (const Piece* piece : board.pieces) {
        EXPECT_EQ(piece->steps.size(), 3u);
        EXPECT_NE(board.cellAt(static_cast<int>(piece->x), static_cast<int>(piece->y)), kNoCell);
        fired += piece->width == kPieceSize;
        special += piece->width == kPieceSize && piece->type == kSpecial;
    }
    EXPECT_EQ(std::tuple(board.pieces.size(), fired, special),
              std::tuple(kLoadPieces, bench::kFiredPieceCount, bench::kFiredPieceCount / 10));
    for (int i = 0; i < 500; ++i) {
        bench::pinClock(board);
        board.update();
    }
    EXPECT_EQ(std::tuple(board.pieces.size(), board.removals.size(), board.score, board.lives),
              std::tuple(kLoadPieces, 0u, 0, kStartLives));
    EXPECT_EQ(gridOf(board), before);
}

TEST(BenchLoads, GameKeepsTheLoadAndTheReplayDrawsExactlyItsFrame) {
    bench::Canvas canvas{bench::kScreenWidth, bench::kScreenHeight};
    ASSERT_NE(canvas.renderer, nullptr);
    const std::unique_ptr<Game> game = bench::heavyGame(canvas);
    for (int i = 0; i < 200; ++i) {
        bench::pinClock(*game->board);
        game->update();
    }
    EXPECT_EQ(std::tuple(game->board->pieces.size(), game->board->lives), std::tuple(kLoadPieces, kStartLives));
    bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    EXPECT_TRUE(frame.identical);
    // Every piece and every visible wall cell is one copy, so the record
    // cannot be a stray subset of the frame.
    EXPECT_GT(frame.recording.count(bench::DrawOp::Copy) + frame.recording.count(bench::DrawOp::CopyEx),
              kLoadPieces + 16 * kRowCount);
    EXPECT_EQ(frame.recording.count(bench::DrawOp::DrawRect), 1u);  // the sweep line
    EXPECT_EQ(frame.recording.count(bench::DrawOp::FillRect), 1u);  // lives; the charge bar is empty
    // The comparison is not blind: without the lives bar the replay differs.
    SDL_Surface* picture = canvas.copyPixels();
    std::erase_if(frame.recording.calls, [](const bench::DrawCall& c) { return c.op == bench::DrawOp::FillRect; });
    canvas.clear();
    frame.recording.replay(canvas.renderer);
    EXPECT_FALSE(canvas.matches(picture));
    SDL_FreeSurface(picture);
}

}  // namespace
