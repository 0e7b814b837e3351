#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

#include "game/game.h"
#include "platform/random.h"
#include "replay/scripted_game.h"

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

    // One update; true when it fired a piece.
    bool fired() {
        std::int32_t before = framesSinceShot;
        game->update();
        return framesSinceShot != before + 1;
    }
};

// A special shot draws nothing and takes the whole charge; the held left
// button fires next, after the cooldown, drawing once.
TEST_F(GameUpdate, SpecialShotWinsOverNormalThenTheHeldLeftButtonFiresAndDrawsOnce) {
    std::fill_n(board->cells[kColumnCount - 1], kRowCount, kSpecial);  // the board's refills draw nothing
    game->leftMouse.held = game->rightMouse.held = true;
    game->mouseY = 300;
    board->charge = kSpecialCharge;
    framesSinceShot = kShotCooldown + 1;
    const std::uint8_t current = board->currentColour, next = board->nextColour;
    const std::uint32_t randState = platform::gameRandState();
    ASSERT_TRUE(fired());
    ASSERT_EQ(board->pieces.size(), 1u);
    const Piece& special = *board->pieces[0];
    EXPECT_EQ(std::tuple(special.type, special.steps, special.x, special.y),
              std::tuple(kSpecial, specialPieceSteps, float(board->area.x + kPieceSpeed), 288.0f));  // moved once
    EXPECT_EQ(std::tuple(board->charge, board->currentColour, platform::gameRandState()), std::tuple(0, current, randState));

    for (int n = 0; n < kShotCooldown; ++n) ASSERT_FALSE(fired());
    ASSERT_TRUE(fired());
    EXPECT_EQ(std::tuple(board->pieces.back()->type, board->pieces.back()->steps, board->currentColour),
              std::tuple(current, normalPieceSteps, next));
    const std::uint32_t after = platform::gameRandState();
    platform::setGameRandState(randState);
    EXPECT_EQ(board->nextColour, platform::gameRand() % kColourCount);  // exactly one draw
    EXPECT_EQ(platform::gameRandState(), after);
}

// A click is seen only in its own update; a held right button without the
// full charge fires nothing, nor stops a left click.
TEST_F(GameUpdate, ClickDuringTheCooldownIsForgottenAndARightButtonShortOfChargeFiresNothing) {
    auto click = [&] {
        game->leftMouse.held = true;
        bool shot = fired();
        game->leftMouse.held = false;  // the sweep after the update
        return shot;
    };
    for (int n = 0; n < 10; ++n) game->update();
    EXPECT_FALSE(click());
    game->rightMouse.held = true;
    board->charge = kSpecialCharge - 1;
    for (int n = 0; n < 40; ++n) EXPECT_FALSE(fired()) << n;
    EXPECT_TRUE(click());
    EXPECT_EQ(board->charge, kSpecialCharge - 1);
    EXPECT_FALSE(fired());
}

// Clamped into the area, then snapped to window rows; above an area of uneven
// height the snap lands above its top.
TEST_F(GameUpdate, ShotRowIsClampedIntoTheAreaThenSnappedToWindowRows) {
    for (auto [height, mouseY, row] : {std::tuple{kHeight, 10, 256}, {kHeight, 300, 288}, {kHeight, 447, 416},
                                       {kHeight, 448, 416}, {kHeight, 5000, 416}, {470, 0, 224}}) {
        board->area = boardAreaFor(kWidth, height, kRowCount);
        game->mouseY = mouseY;
        EXPECT_EQ(game->shotRow(), row) << height << " " << mouseY;
    }
}

// The same digest on every platform: Windows and the browser replay this game too.
TEST(Replay, ScriptedGameKeepsTheInvariantsAndGivesThePinnedDigest) {
    ScriptedGameResult r = playScriptedGame(6000);
    EXPECT_EQ(r.brokenAt, -1);
    EXPECT_EQ(r.score, 340);
    EXPECT_EQ(r.digest, 0x3929930bafaf7252ull);
}

}  // namespace
