#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <fstream>

#include "game/game.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

using testsupport::TempDir;
using testsupport::WorkingDirectory;

// Twice in one process: the step lists are filled afresh, not appended to.
TEST(GameConstruction, FreshGameDrawsTwoColoursAndStartsEmptyAndQuiet) {
    TempDir dir;
    testsupport::writeTestResources(dir.path);
    WorkingDirectory cwd(dir.path);
    testsupport::Canvas canvas(640, 480);
    for (int i = 0; i < 2; ++i) {
        platform::setGameRandState(platform::kGameRandStartState);
        testing::internal::CaptureStdout();
        Game game(canvas.renderer, 640, 480);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        // The first two values of the sequence, current colour first.
        EXPECT_EQ(game.board->currentColour * 10 + game.board->nextColour, (41 % 6) * 10 + 18467 % 6);
        EXPECT_EQ(platform::gameRand(), 6334);
        for (auto* column : game.board->cells) EXPECT_EQ(std::count(column, column + kRowCount, kEmptyCell), kRowCount);
        EXPECT_TRUE(game.board->pieces.empty());
        EXPECT_EQ(normalPieceSteps, (StepList{stepMove, stepLeaveArea, stepNormalPiece}));
        EXPECT_EQ(fragmentSteps, (StepList{stepMove, stepLeaveArea, stepFragment}));
        EXPECT_EQ(specialPieceSteps, (StepList{stepMove, stepLeaveArea, stepSpecialPiece}));
    }
}

TEST(GameConstruction, FiguresArePlacedAndRescaled) {
    TempDir dir;
    testsupport::writeTestResources(dir.path);
    WorkingDirectory cwd(dir.path);
    // Roots that the files place elsewhere: the game puts them in their spots.
    for (const char* figure : {"resources/wendle/body.jrig", "resources/debugman/body.jrig"}) {
        std::fstream rig(figure, std::ios::in | std::ios::out | std::ios::binary);
        rig.seekp(8 + 16);  // the root's offset, after the header, angle, scale and pivot
        rig.write("\7\0\0\0\11\0\0\0", 8);
    }
    // The files' own scales, before the game rescales them.
    auto player = Character::load(nullptr, "resources\\wendle");
    auto background = Character::load(nullptr, "resources\\debugman");
    ASSERT_TRUE(player && background);
    testsupport::Canvas canvas(64, 64);
    Game game(canvas.renderer, 640, 480);
    ASSERT_TRUE(game.player && game.background);
    const Bone& root = *game.player->rig.root;
    const Bone& backRoot = *game.background->rig.root;
    EXPECT_EQ(std::tuple(root.offsetX, root.offsetY, backRoot.offsetX, backRoot.offsetY), std::tuple(128, 100, 512, 100));
    for (int i = 0; i < game.player->rig.boneCount; ++i) {
        EXPECT_EQ(game.player->rig.bones[i].scale, float(double(player->rig.bones[i].scale) * 0.7));
    }
    for (int i = 0; i < game.background->rig.boneCount; ++i) {
        EXPECT_EQ(game.background->rig.bones[i].angle, 0.0f);
        EXPECT_EQ(game.background->rig.bones[i].scale, float(double(background->rig.bones[i].scale) * 0.8));
    }
    EXPECT_FALSE(game.player->attackPlaying);
    EXPECT_EQ(game.player->rig.currentClip, &game.player->idleClip);
}

TEST(GameConstruction, EmptyFolderSaysSoAndPlaysOn) {
    TempDir dir;
    WorkingDirectory cwd(dir.path);
    testsupport::Canvas canvas(64, 64);
    testing::internal::CaptureStdout();
    Game game(canvas.renderer, 640, 480);
    std::string out = testing::internal::GetCapturedStdout();
    // One line per sheet and one per refused figure, nothing else.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5) << out;
    EXPECT_EQ(out.rfind("Surface initialization error! : ", 0), 0u) << out;
    for (const char* figure : {"wendle", "debugman"}) {
        EXPECT_NE(out.find(std::string("\nRig loading error! : resources\\") + figure + "\\body.jrig: "), out.npos) << out;
    }
    EXPECT_EQ(game.player, nullptr);
    EXPECT_EQ(game.background, nullptr);
    for (int i = 0; i < game.soundCount; ++i) EXPECT_EQ(game.sounds[i].chunk, nullptr);
    // Without sheets, sounds and figures the game still plays: shots, matches,
    // special shots, the lost state and drawing.
    game.leftMouse.held = game.rightMouse.held = true;
    game.board->charge = 100;
    game.board->lives = 1;
    for (int frame = 0; frame < 2000; ++frame) {
        game.update();
        game.render(canvas.renderer);
    }
    EXPECT_LE(game.board->lives, 0);
    game.playSound(kSoundCount);
}

// Which chunks the mixer is playing, in channel order.
std::vector<Mix_Chunk*> playing() {
    std::vector<Mix_Chunk*> chunks;
    for (int channel = 0; channel < 8; ++channel) {
        if (Mix_Playing(channel)) chunks.push_back(Mix_GetChunk(channel));
    }
    return chunks;
}

TEST(GameConstruction, LostLifeAndSpecialShotSoundAndAMissingWavIsSilent) {
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
        for (int i = 0; i < 4; ++i) EXPECT_EQ(game.sounds[i].chunk == nullptr, i == kSoundStick) << i;
        game.playSound(kSoundStick);  // silent, no crash
        EXPECT_TRUE(playing().empty());
        game.playSound(kSoundMatch);
        EXPECT_EQ(playing(), std::vector{game.sounds[kSoundMatch].chunk});
        Mix_HaltChannel(-1);
        game.board->area = boardAreaFor(640, 480, kRowCount);
        game.board->cells[0][3] = 2;  // a colour at the left edge
        game.update();
        EXPECT_EQ(playing(), std::vector{game.sounds[kSoundLifeLost].chunk});
        game.board->charge = kSpecialCharge;
        game.rightMouse.held = true;
        framesSinceShot = kShotCooldown + 1;
        game.update();
        EXPECT_EQ(playing(), (std::vector{game.sounds[kSoundLifeLost].chunk, game.sounds[kSoundSpecialShot].chunk}));
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
