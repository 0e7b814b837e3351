#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/random.h"
#include "replay/scripted_game.h"

namespace {

// A fresh game with the board laid out as a 640 x 480 frame would lay it out.
// Without a renderer the sheets fail to load and say so; the rules don't care.
struct GameUpdate : ::testing::Test {
    std::unique_ptr<Game> game;
    Board* board = nullptr;

    GameUpdate() {
        framesSinceShot = 0;
        platform::setGameRandState(platform::kGameRandStartState);
        game = std::make_unique<Game>(nullptr, 640, 480);
        board = game->board.get();
        board->area = boardAreaFor(640, 480, kRowCount);
    }
    // One update; true when it fired a piece.
    bool fired() {
        std::int32_t before = framesSinceShot;
        game->update();
        return framesSinceShot != before + 1;
    }
};

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
    for (auto [height, mouseY, row] :
         {std::tuple{480, 10, 256}, {480, 300, 288}, {480, 447, 416}, {480, 448, 416}, {480, 5000, 416}, {470, 0, 224}}) {
        board->area = boardAreaFor(640, height, kRowCount);
        game->mouseY = mouseY;
        EXPECT_EQ(game->shotRow(), row) << height << " " << mouseY;
    }
}

// The same digest on every platform: Windows and the browser replay this game too.
TEST(Replay, ScriptedGameKeepsTheInvariantsAndGivesThePinnedDigest) {
    ScriptedGameResult r = playScriptedGame(6000);
    EXPECT_EQ(std::tuple(r.brokenAt, r.score, r.digest), std::tuple(-1, 340, 0x3929930bafaf7252ull));
}

}  // namespace
