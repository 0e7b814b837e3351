// The figures in play: the background turns every update, the player attacks
// on every match and special shot, and a lost game swells the background.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

struct GameFigures : testing::Test {
    testsupport::TempDir dir;
    std::unique_ptr<testsupport::Canvas> canvas;
    std::unique_ptr<Game> game;
    Board* board = nullptr;

    void SetUp() override {
        framesSinceShot = 0;
        platform::setGameRandState(platform::kGameRandStartState);
        testsupport::writeTestResources(dir.path);
        testsupport::WorkingDirectory cwd(dir.path);
        canvas = std::make_unique<testsupport::Canvas>(640, 480);
        game = std::make_unique<Game>(canvas->renderer, 640, 480);
        ASSERT_TRUE(game->player && game->background) << "the shipped figures must load";
        board = game->board.get();
        frame();  // lay the board out
    }
    void frame() {
        game->update();
        SDL_RenderClear(canvas->renderer);
        game->render(canvas->renderer);
    }
    // Frames until the player's attack ends; checks it was playing from the start.
    int attackFrames() {
        Character& player = *game->player;
        EXPECT_EQ(player.rig.currentClip, &player.attackClip);
        int n = 0;
        for (; player.attackPlaying && n < 1000; ++n) frame();
        EXPECT_EQ(player.rig.currentClip, &player.idleClip);
        EXPECT_EQ(player.rig.clipFrame, 1);  // idle frame 0 was played by the last frame's rendering
        return n;
    }
};

TEST_F(GameFigures, BackgroundTurnsEveryUpdateAndIsNotAnimated) {
    const Rig& rig = game->background->rig;
    ASSERT_GE(rig.boneCount, 2);
    for (int n = 0; n < 50; ++n) {
        std::vector<float> before;
        for (int i = 0; i < rig.boneCount; ++i) before.push_back(rig.bones[i].angle);
        frame();
        EXPECT_EQ(rig.bones[0].angle, float(double(before[0]) + 0.03125));
        for (int i = 1; i < rig.boneCount; ++i) {
            EXPECT_EQ(rig.bones[i].angle, float(double(before[i]) + (i * 0.03125) * 0.3)) << i;
        }
    }
    EXPECT_EQ(rig.clipFrame, 0);  // rendered without animation: its clip never advances
    EXPECT_NE(game->player->rig.clipFrame, 0);
}

// A match, then a special shot: each shows the whole attack once, then idle.
TEST_F(GameFigures, PlayerAttacksOnAMatchAndOnASpecialShot) {
    const std::int32_t attackLength = game->player->attackClip.endFrame();
    ASSERT_GE(attackLength, 1);
    const std::uint8_t colour = board->currentColour;
    board->cells[2][1] = colour;  // right in front of the shot row
    std::fill_n(board->cells[kColumnCount - 1], kRowCount, kSpecial);
    game->mouseY = board->area.y + 40;
    game->leftMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    for (int n = 0; board->cells[2][1] == colour && n < 40; ++n) {
        frame();
        game->leftMouse.held = false;
    }
    ASSERT_EQ(board->score, 1) << "the piece should have matched";
    EXPECT_EQ(game->player->attackFramesLeft, attackLength);
    EXPECT_EQ(attackFrames(), attackLength);
    EXPECT_EQ(game->player->attackFramesLeft, 0);

    board->charge = kSpecialCharge;
    game->rightMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    frame();
    EXPECT_EQ(board->charge, 0);
    EXPECT_EQ(game->player->attackFramesLeft, attackLength);
    EXPECT_EQ(attackFrames(), attackLength);
}

TEST_F(GameFigures, LostGameSwellsTheBackgroundEveryUpdate) {
    board->lives = 1;
    board->cells[0][3] = 2;  // a colour reaches the left edge
    const Rig& rig = game->background->rig;
    std::vector<float> scales;
    for (int i = 0; i < rig.boneCount; ++i) scales.push_back(rig.bones[i].scale);
    for (int n = 1; n <= 5; ++n) {
        frame();
        EXPECT_EQ(board->lives, 1 - n);
        for (int i = 0; i < rig.boneCount; ++i) {
            scales[i] = float(double(scales[i]) + 0.03125);
            EXPECT_EQ(rig.bones[i].scale, scales[i]) << n << " " << i;
        }
    }
}

}  // namespace
