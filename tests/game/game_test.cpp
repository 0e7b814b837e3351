// A whole game on test content: construction, the figures in play (the
// background turns every update, the player attacks on every match and special
// shot, a lost game swells the background), sounds, and an empty folder.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <fstream>

#include "game/game.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

// Test sheets with the shipped sounds and figures in a scratch folder.
struct GameOnContent : testing::Test {
    testsupport::TempDir dir;
    testsupport::Canvas canvas{640, 480};
    std::unique_ptr<Game> game;
    Board* board = nullptr;
    std::string printed;  // by the game's construction

    void SetUp() override { testsupport::writeTestResources(dir.path); }
    void make(const std::filesystem::path& folder) {
        framesSinceShot = 0;
        platform::setGameRandState(platform::kGameRandStartState);
        testsupport::WorkingDirectory cwd(folder);
        testing::internal::CaptureStdout();
        game = std::make_unique<Game>(canvas.renderer, 640, 480);
        printed = testing::internal::GetCapturedStdout();
        board = game->board.get();
    }
    void frame() {
        game->update();
        SDL_RenderClear(canvas.renderer);
        game->render(canvas.renderer);
    }
    // Frames until the player's attack ends, which shows it whole, then idle.
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

// Twice in one process: the step lists are filled afresh, not appended to.
TEST_F(GameOnContent, FreshGameDrawsTwoColoursAndStartsEmptyAndQuiet) {
    for (int i = 0; i < 2; ++i) {
        make(dir.path);
        EXPECT_EQ(printed, "");
        // The first two values of the sequence, current colour first.
        EXPECT_EQ(board->currentColour * 10 + board->nextColour, (41 % 6) * 10 + 18467 % 6);
        EXPECT_EQ(platform::gameRand(), 6334);
        for (auto* column : board->cells) EXPECT_EQ(std::count(column, column + kRowCount, kEmptyCell), kRowCount);
        EXPECT_TRUE(board->pieces.empty());
        EXPECT_EQ(normalPieceSteps, (StepList{stepMove, stepLeaveArea, stepNormalPiece}));
        EXPECT_EQ(fragmentSteps, (StepList{stepMove, stepLeaveArea, stepFragment}));
        EXPECT_EQ(specialPieceSteps, (StepList{stepMove, stepLeaveArea, stepSpecialPiece}));
    }
}

TEST_F(GameOnContent, FiguresArePlacedAndRescaled) {
    testsupport::WorkingDirectory cwd(dir.path);
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
    make(dir.path);
    ASSERT_TRUE(game->player && game->background);
    const Rig &rig = game->player->rig, &backRig = game->background->rig;
    EXPECT_EQ(std::tuple(rig.root->offsetX, rig.root->offsetY, backRig.root->offsetX, backRig.root->offsetY),
              std::tuple(128, 100, 512, 100));
    for (int i = 0; i < rig.boneCount; ++i) {
        EXPECT_EQ(rig.bones[i].scale, float(double(player->rig.bones[i].scale) * 0.7));
    }
    for (int i = 0; i < backRig.boneCount; ++i) {
        EXPECT_EQ(backRig.bones[i].angle, 0.0f);
        EXPECT_EQ(backRig.bones[i].scale, float(double(background->rig.bones[i].scale) * 0.8));
    }
    EXPECT_FALSE(game->player->attackPlaying);
    EXPECT_EQ(rig.currentClip, &game->player->idleClip);
}

TEST_F(GameOnContent, BackgroundTurnsEveryUpdateAndIsNotAnimated) {
    make(dir.path);
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
TEST_F(GameOnContent, PlayerAttacksOnAMatchAndOnASpecialShot) {
    make(dir.path);
    frame();  // lay the board out
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
    EXPECT_EQ(std::pair(board->charge, game->player->attackFramesLeft), std::pair(0, attackLength));
    EXPECT_EQ(attackFrames(), attackLength);
}

TEST_F(GameOnContent, LostGameSwellsTheBackgroundEveryUpdate) {
    make(dir.path);
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

// Which chunks the mixer is playing, in channel order.
std::vector<Mix_Chunk*> playing() {
    std::vector<Mix_Chunk*> chunks;
    for (int channel = 0; channel < 8; ++channel) {
        if (Mix_Playing(channel)) chunks.push_back(Mix_GetChunk(channel));
    }
    return chunks;
}

TEST_F(GameOnContent, MatchLostLifeAndSpecialShotSoundAndAMissingWavIsSilent) {
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    std::filesystem::remove(dir.path / "resources" / "s2.wav");
    make(dir.path);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(game->sounds[i].chunk == nullptr, i == kSoundStick) << i;
    game->playSound(kSoundStick);  // silent, no crash
    EXPECT_TRUE(playing().empty());
    game->playSound(kSoundMatch);
    EXPECT_EQ(playing(), std::vector{game->sounds[kSoundMatch].chunk});
    Mix_HaltChannel(-1);
    frame();  // lay the board out
    board->cells[0][3] = 2;  // a colour at the left edge
    frame();
    EXPECT_EQ(playing(), std::vector{game->sounds[kSoundLifeLost].chunk});
    board->charge = kSpecialCharge;
    game->rightMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    frame();
    EXPECT_EQ(playing(), (std::vector{game->sounds[kSoundLifeLost].chunk, game->sounds[kSoundSpecialShot].chunk}));
    game.reset();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST_F(GameOnContent, EmptyFolderSaysSoAndPlaysOn) {
    make(dir.path / "resources" / "wendle");  // a folder without resources/
    // One line per sheet and one per refused figure, nothing else.
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 5) << printed;
    EXPECT_EQ(printed.rfind("Surface initialization error! : ", 0), 0u) << printed;
    for (const char* figure : {"wendle", "debugman"}) {
        const std::string line = std::string("\nRig loading error! : resources\\") + figure + "\\body.jrig: ";
        EXPECT_NE(printed.find(line), printed.npos);
    }
    EXPECT_TRUE(!game->player && !game->background);
    for (int i = 0; i < game->soundCount; ++i) EXPECT_EQ(game->sounds[i].chunk, nullptr);
    // Without sheets, sounds and figures the game still plays: shots, matches,
    // special shots, the lost state and drawing.
    game->leftMouse.held = game->rightMouse.held = true;
    board->charge = 100;
    board->lives = 1;
    for (int n = 0; n < 2000; ++n) frame();
    EXPECT_LE(board->lives, 0);
    game->playSound(kSoundCount);
}

}  // namespace
