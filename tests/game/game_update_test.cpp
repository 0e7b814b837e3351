#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "game/game.h"
#include "platform/random.h"

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;

// A fresh game with the board laid out as a 640 x 480 frame would lay it out.
// Without a renderer the sheets fail to load and say so; the rules don't care.
struct GameUpdate : ::testing::Test {
    std::unique_ptr<Game> game;
    Board* board = nullptr;

    GameUpdate() {
        framesSinceShot = 0;
        platform::setGameRandState(platform::kGameRandStartState);
        game = std::make_unique<Game>(nullptr, kWidth, kHeight);
        board = game->board.get();
        board->area = boardAreaFor(kWidth, kHeight, kRowCount);
    }

    // Keeps the board's own refills from drawing, so that every draw seen
    // comes from the shots.
    void fillLastColumn() { std::fill_n(board->cells[kColumnCount - 1], kRowCount, kSpecial); }

    // One update; true when it fired a piece.
    bool fired() {
        std::int32_t before = framesSinceShot;
        game->update();
        return framesSinceShot != before + 1;
    }
};

TEST_F(GameUpdate, HeldLeftButtonFiresAfterTheCooldownThenEveryTwentyFirstUpdate) {
    game->leftMouse.held = true;
    std::vector<int> shots;
    for (int n = 0; n < 100; ++n) {
        if (fired()) shots.push_back(n);
    }
    EXPECT_EQ(shots, (std::vector<int>{21, 42, 63, 84}));
}

TEST_F(GameUpdate, SpecialShotWinsOverNormalAndSpendsTheCharge) {
    fillLastColumn();
    game->leftMouse.held = true;
    game->rightMouse.held = true;
    board->charge = kSpecialCharge;
    framesSinceShot = kShotCooldown + 1;
    std::uint8_t current = board->currentColour;
    std::uint8_t next = board->nextColour;
    std::uint32_t randState = platform::gameRandState();

    ASSERT_TRUE(fired());
    ASSERT_EQ(board->pieces.size(), 1u);
    const Piece& special = *board->pieces[0];
    EXPECT_EQ(special.type, kSpecial);
    EXPECT_EQ(special.steps, specialPieceSteps);
    EXPECT_EQ(special.x, float(board->area.x + kPieceSpeed));  // already moved once
    EXPECT_EQ(board->charge, 0);
    EXPECT_EQ(board->currentColour, current);
    EXPECT_EQ(board->nextColour, next);
    EXPECT_EQ(platform::gameRandState(), randState);  // a special shot draws nothing

    // With the charge spent, the still-held left button fires next time.
    for (int n = 0; n < kShotCooldown; ++n) ASSERT_FALSE(fired());
    ASSERT_TRUE(fired());
    const Piece& normal = *board->pieces.back();
    EXPECT_EQ(normal.type, current);
    EXPECT_EQ(normal.steps, normalPieceSteps);
    EXPECT_EQ(board->currentColour, next);
    // Exactly one draw, which became the next colour.
    std::uint32_t after = platform::gameRandState();
    platform::setGameRandState(randState);
    EXPECT_EQ(board->nextColour, platform::gameRand() % kColourCount);
    EXPECT_EQ(platform::gameRandState(), after);
}

TEST_F(GameUpdate, RightButtonWithoutFullChargeFiresNothing) {
    game->rightMouse.held = true;
    board->charge = kSpecialCharge - 1;
    for (int n = 0; n < 60; ++n) ASSERT_FALSE(fired()) << n;
    EXPECT_EQ(framesSinceShot, 60);
    EXPECT_EQ(board->charge, kSpecialCharge - 1);
}

TEST_F(GameUpdate, ClickDuringTheCooldownIsForgotten) {
    auto click = [&] {
        game->leftMouse.held = true;
        bool shot = fired();
        game->leftMouse.held = false;  // the sweep after the update
        return shot;
    };
    for (int n = 0; n < 10; ++n) game->update();
    EXPECT_FALSE(click());
    for (int n = 0; n < 40; ++n) EXPECT_FALSE(fired());
    EXPECT_TRUE(click());
    EXPECT_FALSE(fired());
}

TEST_F(GameUpdate, ShotRowIsClampedIntoTheAreaThenSnappedToWindowRows) {
    for (auto [mouseY, row] : {std::pair{10, 256}, {300, 288}, {447, 416}, {448, 416}, {5000, 416}}) {
        game->mouseY = mouseY;
        EXPECT_EQ(game->shotRow(), row) << mouseY;
    }
    game->leftMouse.held = true;
    game->mouseY = 300;
    framesSinceShot = kShotCooldown + 1;
    ASSERT_TRUE(fired());
    EXPECT_EQ(board->pieces.back()->y, 288.0f);
}

TEST_F(GameUpdate, ShotAboveAnUnevenAreaStillCountsButLeavesAtOnce) {
    board->area = boardAreaFor(kWidth, 470, kRowCount);  // top at 246
    game->mouseY = 0;
    EXPECT_EQ(game->shotRow(), 224);
    game->leftMouse.held = true;
    std::uint8_t next = board->nextColour;
    framesSinceShot = kShotCooldown + 1;
    EXPECT_TRUE(fired());
    EXPECT_TRUE(board->pieces.empty());
    EXPECT_EQ(board->currentColour, next);
}

// Digest of everything the rules change, to compare two runs.
std::uint64_t digestOf(const Board& board) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
    for (const auto* column : board.cells) {
        for (std::int32_t row = 0; row < kRowCount; ++row) mix(column[row]);
    }
    for (std::int32_t v : {board.frameCounter, board.score, board.charge, board.lives, board.sweepLineX,
                           std::int32_t(board.currentColour), std::int32_t(board.nextColour), framesSinceShot}) {
        mix(std::uint32_t(v));
    }
    for (const Piece* p : board.pieces) {
        mix(std::uint64_t(p->x * 16) ^ (std::uint64_t(p->y * 16) << 20) ^ (std::uint64_t(p->type) << 40));
    }
    mix(platform::gameRandState());
    return h;
}

struct ReplayResult {
    std::uint64_t digest = 0;
    std::int32_t score = 0;
    std::int32_t lives = 0;
    int lostAfter = -1;  // updates until the lost state, -1 if never
    int shots = 0;
};

bool gridIsValid(const Board& board) {
    for (const auto* column : board.cells) {
        for (std::int32_t row = 0; row < kRowCount; ++row) {
            if (column[row] > kSpecial && column[row] != kEmptyCell) return false;
        }
    }
    return true;
}

// Left button held throughout, the pointer sweeping the rows, the right
// button held in alternate stretches to spend the charge.
ReplayResult playScriptedGame(int updates) {
    framesSinceShot = 0;
    platform::setGameRandState(platform::kGameRandStartState);
    Game game(nullptr, kWidth, kHeight);
    Board& board = *game.board;
    ReplayResult result;
    game.leftMouse.held = true;
    for (int n = 0; n < updates; ++n) {
        // Stands in for the draw that would precede this update.
        board.area = SDL_Rect{32, 256, 576, 192};
        board.scrollOffset = scrollOffsetFor(board.frameCounter, board.shiftPeriod);
        game.mouseY = 250 + (n * 7) % 210;
        game.rightMouse.held = (n / 500) % 2 == 1;
        std::int32_t scoreBefore = board.score;
        std::int32_t livesBefore = board.lives;
        std::int32_t sinceShotBefore = framesSinceShot;
        game.update();
        if (framesSinceShot != sinceShotBefore + 1) ++result.shots;

        EXPECT_TRUE(gridIsValid(board)) << n;
        EXPECT_TRUE(board.removals.empty()) << n;
        for (const Piece* p : board.pieces) EXPECT_EQ(p->removed, 0) << n;
        EXPECT_GE(board.score, scoreBefore) << n;
        EXPECT_TRUE(board.lives == livesBefore || board.lives == livesBefore - 1) << n;
        if (livesBefore <= 0) {
            EXPECT_EQ(board.lives, livesBefore - 1) << n;  // the lost state takes one every update
        }
        if (board.lives <= 0 && result.lostAfter < 0) result.lostAfter = n + 1;
        if (::testing::Test::HasFailure()) break;
    }
    result.digest = digestOf(board);
    result.score = board.score;
    result.lives = board.lives;
    return result;
}

TEST(Replay, ScriptedGameKeepsTheInvariantsAndReplaysIdentically) {
    constexpr int kUpdates = 6000;
    ReplayResult first = playScriptedGame(kUpdates);
    ReplayResult second = playScriptedGame(kUpdates);
    EXPECT_EQ(first.digest, second.digest);
    EXPECT_EQ(first.score, second.score);
    EXPECT_EQ(first.lostAfter, second.lostAfter);
    EXPECT_GT(first.score, 0);
    std::printf("scripted game: %d updates, %d shots, score %d, lives %d, lost after %d updates, digest %016llx\n",
                kUpdates, first.shots, first.score, first.lives, first.lostAfter,
                static_cast<unsigned long long>(first.digest));
    ::testing::Test::RecordProperty("score", first.score);
    ::testing::Test::RecordProperty("lostAfter", first.lostAfter);
    framesSinceShot = 0;
    platform::setGameRandState(platform::kGameRandStartState);
}

}  // namespace
