// The benchmarks measure what they claim only if their loads stay put and the
// replayed frame is the game's frame; these checks fail when a change to the
// rules or the drawing quietly breaks either.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "draw_record.h"
#include "loads.h"

namespace {

using Grid = std::array<std::uint8_t, kColumnCount * kRowCount>;

Grid gridOf(const Board& board) {
    Grid grid{};
    for (std::int32_t col = 0; col < kColumnCount; ++col) std::memcpy(&grid[col * kRowCount], board.cells[col], kRowCount);
    return grid;
}

void updatePinned(Board& board, int updates) {
    for (int i = 0; i < updates; ++i) {
        bench::pinClock(board);
        board.update();
    }
}

TEST(BenchLoads, HeavyLoadStaysTheSameOverManyUpdates) {
    Board board(nullptr, kSoundCount);
    bench::buildHeavyLoad(board, nullptr);
    const Grid before = gridOf(board);
    updatePinned(board, 500);
    EXPECT_EQ(board.pieces.size(), static_cast<std::size_t>(bench::kFiredPieceCount + bench::kFragmentCount));
    EXPECT_TRUE(board.removals.empty());
    EXPECT_EQ(gridOf(board), before);
    EXPECT_EQ(board.score, 0);
    EXPECT_EQ(board.lives, kStartLives);
}

TEST(BenchLoads, HeavyLoadHasTheAdvertisedMixOnTheBoard) {
    Board board(nullptr, kSoundCount);
    bench::buildHeavyLoad(board, nullptr);
    int fired = 0, special = 0, fragments = 0;
    for (const Piece* piece : board.pieces) {
        EXPECT_EQ(piece->steps.size(), 3u);
        EXPECT_NE(board.cellAt(static_cast<int>(piece->x), static_cast<int>(piece->y)), kNoCell);
        if (piece->width == kFragmentSize) ++fragments;
        else ++fired;
        if (piece->width == kPieceSize && piece->type == kSpecial) ++special;
    }
    EXPECT_EQ(fired, bench::kFiredPieceCount);
    EXPECT_EQ(fragments, bench::kFragmentCount);
    EXPECT_EQ(special, bench::kFiredPieceCount / 10);
}

TEST(BenchLoads, FullWallNeitherDriftsNorCostsALife) {
    Board board(nullptr, kSoundCount);
    board.area = bench::screenBoardArea();
    bench::fillWall(board);
    const Grid before = gridOf(board);
    int filled = 0;
    for (std::uint8_t cell : before) filled += cell != kEmptyCell;
    EXPECT_EQ(filled, (kColumnCount - bench::kOpenColumns) * kRowCount);
    updatePinned(board, 500);
    EXPECT_EQ(gridOf(board), before);
    EXPECT_EQ(board.lives, kStartLives);
}

struct HeavyFrame : ::testing::Test {
    bench::Canvas canvas{bench::kScreenWidth, bench::kScreenHeight};
    std::unique_ptr<Game> game = bench::heavyGame(canvas);
};

TEST_F(HeavyFrame, GameUpdateKeepsTheLoad) {
    for (int i = 0; i < 200; ++i) {
        bench::pinClock(*game->board);
        game->update();
    }
    EXPECT_EQ(game->board->pieces.size(), static_cast<std::size_t>(bench::kFiredPieceCount + bench::kFragmentCount));
    EXPECT_EQ(game->board->lives, kStartLives);
}

TEST_F(HeavyFrame, ReplayDrawsExactlyTheGamesFrame) {
    ASSERT_NE(canvas.renderer, nullptr);
    const bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    EXPECT_TRUE(frame.identical);
    // Every piece and every visible wall cell is one copy, so the record
    // cannot be a stray subset of the frame.
    EXPECT_GT(frame.recording.count(bench::DrawOp::Copy) + frame.recording.count(bench::DrawOp::CopyEx),
              static_cast<std::size_t>(bench::kFiredPieceCount + bench::kFragmentCount + 16 * kRowCount));
    EXPECT_EQ(frame.recording.count(bench::DrawOp::DrawRect), 1u);  // the sweep line
    EXPECT_EQ(frame.recording.count(bench::DrawOp::FillRect), 1u);  // lives; the charge bar is empty
}

TEST_F(HeavyFrame, ComparisonNoticesAMissingCall) {
    bench::RecordedFrame frame = bench::recordFrame(*game, canvas);
    ASSERT_TRUE(frame.identical);
    SDL_Surface* picture = canvas.copyPixels();
    auto& calls = frame.recording.calls;
    std::erase_if(calls, [](const bench::DrawCall& call) { return call.op == bench::DrawOp::FillRect; });
    canvas.clear();
    frame.recording.replay(canvas.renderer);
    EXPECT_FALSE(canvas.matches(picture));
    SDL_FreeSurface(picture);
}

}  // namespace
