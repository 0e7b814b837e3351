#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include "game/game.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

using testsupport::TempDir;
using testsupport::WorkingDirectory;

TEST(GameConstruction, FreshGameState) {
    platform::setGameRandState(platform::kGameRandStartState);
    TempDir dir;
    testsupport::writeTestResources(dir.path);
    WorkingDirectory cwd(dir.path);
    testsupport::Canvas canvas(640, 480);
    testing::internal::CaptureStdout();
    Game game(canvas.renderer, 640, 480);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The first two values of the sequence, current colour first.
    EXPECT_EQ(game.board->currentColour, 41 % 6);
    EXPECT_EQ(game.board->nextColour, 18467 % 6);
    EXPECT_EQ(platform::gameRand(), 6334);
    int empty = 0;
    for (int c = 0; c < kColumnCount; ++c)
        for (int r = 0; r < kRowCount; ++r) empty += game.board->cells[c][r] == kEmptyCell;
    EXPECT_EQ(empty, 126);
    EXPECT_TRUE(game.board->pieces.empty());
    EXPECT_EQ(game.board->lives, 4);
    EXPECT_EQ(game.board->sweepLineX, 64);
    EXPECT_EQ(game.board->soundCount, 4);
    EXPECT_EQ(game.mouseX, 0);
    EXPECT_EQ(game.mouseY, 0);
    for (const ButtonState* b : {&game.leftMouse, &game.rightMouse, &game.keyW, &game.keyS}) {
        EXPECT_FALSE(b->held);
        EXPECT_FALSE(b->releasedThisFrame);
    }
    EXPECT_EQ(game.pieceTexture->frameRect.w, 32);
    EXPECT_EQ(game.fontTexture->frameRect.w, 10);
    EXPECT_EQ(game.fontTexture->frameCount, 37);
}

TEST(GameConstruction, FiguresArePlacedAndRescaled) {
    TempDir dir;
    testsupport::writeTestResources(dir.path);
    WorkingDirectory cwd(dir.path);
    // The files' own scales, before the game rescales them.
    auto player = Character::load(nullptr, "resources\\wendle");
    auto background = Character::load(nullptr, "resources\\debugman");
    ASSERT_TRUE(player && background);
    testsupport::Canvas canvas(64, 64);
    Game game(canvas.renderer, 640, 480);
    ASSERT_TRUE(game.player && game.background);
    EXPECT_EQ(game.player->rig.root->offsetX, 128);
    EXPECT_EQ(game.player->rig.root->offsetY, 100);
    EXPECT_EQ(game.background->rig.root->offsetX, 512);
    EXPECT_EQ(game.background->rig.root->offsetY, 100);
    for (int i = 0; i < game.player->rig.boneCount; ++i) {
        EXPECT_EQ(game.player->rig.bones[i].scale, static_cast<float>(double(player->rig.bones[i].scale) * 0.7));
    }
    for (int i = 0; i < game.background->rig.boneCount; ++i) {
        EXPECT_EQ(game.background->rig.bones[i].angle, 0.0f);
        EXPECT_EQ(game.background->rig.bones[i].scale, static_cast<float>(double(background->rig.bones[i].scale) * 0.8));
    }
    EXPECT_FALSE(game.player->attackPlaying);
    EXPECT_EQ(game.player->rig.currentClip, &game.player->idleClip);
}

TEST(GameConstruction, StepListsHoldTheirThreeStepsHoweverManyGames) {
    TempDir dir;
    WorkingDirectory cwd(dir.path);
    for (int i = 0; i < 3; ++i) {
        testing::internal::CaptureStdout();
        Game game(nullptr, 640, 480);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(normalPieceSteps, (StepList{stepMove, stepLeaveArea, stepNormalPiece}));
        EXPECT_EQ(fragmentSteps, (StepList{stepMove, stepLeaveArea, stepFragment}));
        EXPECT_EQ(specialPieceSteps, (StepList{stepMove, stepLeaveArea, stepSpecialPiece}));
    }
}

TEST(GameConstruction, EmptyFolderGivesThreeSheetLinesAndSilentSounds) {
    TempDir dir;
    WorkingDirectory cwd(dir.path);
    testsupport::Canvas canvas(64, 64);
    testing::internal::CaptureStdout();
    Game game(canvas.renderer, 640, 480);
    std::string out = testing::internal::GetCapturedStdout();
    std::string line = "Surface initialization error! : ";
    size_t first = out.find(line), second = out.find(line, first + 1), third = out.find(line, second + 1);
    EXPECT_NE(third, std::string::npos) << out;
    // One line per sheet and one per refused figure, nothing else.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5) << out;
    EXPECT_NE(out.find("Rig loading error! : resources\\wendle\\body.jrig: "), std::string::npos) << out;
    EXPECT_NE(out.find("Rig loading error! : resources\\debugman\\body.jrig: "), std::string::npos) << out;
    EXPECT_EQ(game.player, nullptr);
    EXPECT_EQ(game.background, nullptr);
    for (int i = 0; i < game.soundCount; ++i) EXPECT_EQ(game.sounds[i].chunk, nullptr);
    // Drawing and playing with nothing loaded is harmless.
    game.render(canvas.renderer);
    game.playSound(0);
    game.playSound(kSoundCount);
}

TEST(GameConstruction, MissingWavLeavesOnlyThatSoundSilent) {
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    {
        TempDir dir;
        testsupport::writeTestResources(dir.path);
        std::filesystem::remove(dir.path / "resources" / "s2.wav");
        WorkingDirectory cwd(dir.path);
        testing::internal::CaptureStdout();
        Game game(nullptr, 640, 480);
        testing::internal::GetCapturedStdout();
        EXPECT_NE(game.sounds[0].chunk, nullptr);
        EXPECT_EQ(game.sounds[1].chunk, nullptr);
        EXPECT_NE(game.sounds[2].chunk, nullptr);
        EXPECT_NE(game.sounds[3].chunk, nullptr);
        game.playSound(1);  // silent, no crash
        game.playSound(0);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
