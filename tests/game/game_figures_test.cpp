// The figures in play: the background turns every update, the player attacks
// on every match and special shot, and a lost game swells the background.
// (Refused figures are left out: see the construction tests.)
#include <gtest/gtest.h>

#include <vector>

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
    std::vector<float> backgroundAngles() {
        std::vector<float> angles;
        for (int i = 0; i < game->background->rig.boneCount; ++i) angles.push_back(game->background->rig.bones[i].angle);
        return angles;
    }
};

TEST_F(GameFigures, BackgroundTurnsEveryUpdateAndIsNotAnimated) {
    const Rig& rig = game->background->rig;
    ASSERT_GE(rig.boneCount, 2);
    for (int n = 0; n < 50; ++n) {
        std::vector<float> before = backgroundAngles();
        frame();
        for (int i = 1; i < rig.boneCount; ++i) {
            EXPECT_EQ(rig.bones[i].angle, static_cast<float>(double(before[i]) + (i * 0.03125) * 0.3)) << i;
        }
        EXPECT_EQ(rig.bones[0].angle, static_cast<float>(double(before[0]) + 0.03125));
    }
    // Rendered without animation: its clip never advances.
    EXPECT_EQ(rig.clipFrame, 0);
    EXPECT_NE(game->player->rig.clipFrame, 0);
}

TEST_F(GameFigures, PlayerAttacksOnAMatchAndReturnsToIdle) {
    Character& player = *game->player;
    const std::int32_t attackLength = player.attackClip.endFrame();
    ASSERT_GE(attackLength, 1);
    // A cell of the current colour right in front of the shot row.
    const std::uint8_t colour = board->currentColour;
    board->cells[2][1] = colour;
    std::fill_n(board->cells[kColumnCount - 1], kRowCount, kSpecial);
    game->mouseY = board->area.y + 40;
    game->leftMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    int updates = 0;
    while (board->cells[2][1] == colour && updates < 40) {
        frame();
        game->leftMouse.held = false;
        ++updates;
    }
    ASSERT_EQ(board->cells[2][1], kEmptyCell) << "the piece should have matched";
    EXPECT_EQ(board->score, 1);
    EXPECT_TRUE(player.attackPlaying);
    EXPECT_EQ(player.attackFramesLeft, attackLength);
    EXPECT_EQ(player.rig.currentClip, &player.attackClip);
    // The attack is shown by exactly its own length of frames, then idle resumes at its frame 0.
    for (int n = 1; n < attackLength; ++n) {
        frame();
        ASSERT_TRUE(player.attackPlaying) << n;
    }
    frame();
    EXPECT_FALSE(player.attackPlaying);
    EXPECT_EQ(player.attackFramesLeft, 0);
    EXPECT_EQ(player.rig.currentClip, &player.idleClip);
    EXPECT_EQ(player.rig.clipFrame, 1);  // idle frame 0 was played by this frame's rendering
}

TEST_F(GameFigures, SpecialShotStartsTheAttack) {
    board->charge = kSpecialCharge;
    game->rightMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    frame();
    EXPECT_EQ(board->charge, 0);
    EXPECT_TRUE(game->player->attackPlaying);
    EXPECT_EQ(game->player->attackFramesLeft, game->player->attackClip.endFrame());
}

TEST_F(GameFigures, LostGameSwellsTheBackgroundEveryUpdate) {
    board->lives = 1;
    board->cells[0][3] = 2;  // a colour reaches the left edge
    std::vector<float> scales;
    for (int i = 0; i < game->background->rig.boneCount; ++i) scales.push_back(game->background->rig.bones[i].scale);
    for (int n = 1; n <= 5; ++n) {
        frame();
        EXPECT_EQ(board->lives, 1 - n);
        for (int i = 0; i < game->background->rig.boneCount; ++i) {
            scales[i] = static_cast<float>(double(scales[i]) + 0.03125);
            EXPECT_EQ(game->background->rig.bones[i].scale, scales[i]) << n << " " << i;
        }
    }
}

}  // namespace
