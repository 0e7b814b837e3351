// A whole game on test content: the figures in play (placed and rescaled, the
// background turning and, once the game is lost, swelling; the player
// attacking), the sounds through the mixer, and an empty folder.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include "game/game.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

using namespace testsupport;

// A game on test content (see writeTestResources).
struct GameOnContent : testing::Test {
    TempDir dir;
    Canvas canvas{640, 480};
    std::unique_ptr<Game> game;
    Board* board = nullptr;
    std::string printed;  // by the game's construction

    void SetUp() override { writeTestResources(dir.path); }
    void make(const std::filesystem::path& folder) {
        framesSinceShot = 0;
        platform::setGameRandState(platform::kGameRandStartState);
        WorkingDirectory cwd(folder);
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
};

TEST_F(GameOnContent, FiguresArePlacedRescaledAndTheBackgroundTurns) {
    make(dir.path);
    EXPECT_EQ(printed, "");
    ASSERT_NE(game->player, nullptr);
    ASSERT_NE(game->background, nullptr);
    const Rig &player = game->player->rig, &background = game->background->rig;
    EXPECT_EQ(player.root->offsetX, 128);
    EXPECT_EQ(player.root->offsetY, 100);
    EXPECT_EQ(background.root->offsetX, 512);
    EXPECT_EQ(background.root->offsetY, 100);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(player.bones[i].scale, 0.7f) << "player bone " << i;
        EXPECT_EQ(background.bones[i].scale, 0.8f) << "background bone " << i;
    }
    // The background's root turns 0.03125 an update, bone i 0.3 times i times that.
    frame();
    EXPECT_EQ(background.bones[0].angle, 0.03125f);
    EXPECT_EQ(background.bones[1].angle, 0.009375f);
    EXPECT_EQ(background.bones[2].angle, 0.01875f);  // its file's angle 1 was dropped
    frame();
    EXPECT_EQ(background.bones[0].angle, 0.0625f);
    EXPECT_EQ(background.bones[1].angle, 0.01875f);
    EXPECT_EQ(background.clipFrame, 0);  // its idle clip stands still
    EXPECT_EQ(game->player->rig.clipFrame, 2);
}

TEST_F(GameOnContent, LostGameSwellsTheBackgroundEveryUpdate) {
    make(dir.path);
    board->lives = 1;
    board->cells[0][3] = 2;  // a colour at the left edge
    const Rig& background = game->background->rig;
    frame();
    EXPECT_EQ(board->lives, 0);
    EXPECT_EQ(background.bones[0].scale, 0.83125f);  // from 0.8
    frame();
    EXPECT_EQ(board->lives, -1);
    EXPECT_EQ(background.bones[0].scale, 0.8625f);
}

// Which chunks the mixer is playing, in channel order.
std::vector<Mix_Chunk*> playing() {
    std::vector<Mix_Chunk*> chunks;
    for (int channel = 0; channel < 8; ++channel) {
        if (Mix_Playing(channel)) chunks.push_back(Mix_GetChunk(channel));
    }
    return chunks;
}

// A match, a special shot and a lost life, each with its sound; a match and a
// special shot start the player's attack.
TEST_F(GameOnContent, MatchSpecialShotAndLostLifeSoundAndAttack) {
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    make(dir.path);
    frame();  // lays the board out
    board->cells[2][1] = board->currentColour;  // right in front of the shot row
    game->mouseY = board->area.y + 40;
    game->leftMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    for (int n = 0; board->score == 0 && n < 40; ++n) {
        frame();
        game->leftMouse.held = false;
    }
    ASSERT_EQ(board->score, 1) << "the piece should have matched";
    EXPECT_EQ(playing(), std::vector{game->sounds[kSoundMatch].chunk});
    EXPECT_EQ(game->player->attackFramesLeft, 10);

    Mix_HaltChannel(-1);
    board->charge = kSpecialCharge;
    game->rightMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    frame();
    EXPECT_EQ(board->charge, 0);
    EXPECT_EQ(playing(), std::vector{game->sounds[kSoundSpecialShot].chunk});
    EXPECT_EQ(game->player->attackFramesLeft, 10);  // started again, not counted down

    Mix_HaltChannel(-1);
    board->cells[0][3] = 2;  // a colour at the left edge
    frame();
    EXPECT_EQ(playing(), std::vector{game->sounds[kSoundLifeLost].chunk});
    game.reset();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST_F(GameOnContent, EmptyFolderSaysSoAndPlaysOn) {
    make(dir.path / "resources" / "wendle");  // a folder without resources/
    // One line per sheet and one per refused figure, nothing else.
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 5) << printed;
    EXPECT_EQ(printed.rfind("Surface initialization error! : ", 0), 0u) << printed;
    EXPECT_NE(printed.find("\nRig loading error! : resources\\debugman\\body.jrig: "), printed.npos) << printed;
    EXPECT_EQ(game->player, nullptr);
    EXPECT_EQ(game->background, nullptr);
    // Without sheets, sounds and figures the game still plays: shots, matches,
    // special shots, the lost state and drawing.
    game->leftMouse.held = game->rightMouse.held = true;
    board->charge = 100;
    board->lives = 1;
    for (int n = 0; n < 2000; ++n) frame();
    EXPECT_LE(board->lives, 0);
    game->playSound(kSoundCount);  // out of range: nothing
}

}  // namespace
