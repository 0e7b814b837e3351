// A whole game on test content: the player attacking, the sounds through the
// mixer, and an empty folder. The figures' scale, the background's turning
// and its swelling once the game is lost are drawn in the golden frames.
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

// Which chunks the mixer is playing, in channel order.
std::vector<Mix_Chunk*> playing() {
    std::vector<Mix_Chunk*> chunks;
    for (int channel = 0; channel < 8; ++channel) {
        if (Mix_Playing(channel)) chunks.push_back(Mix_GetChunk(channel));
    }
    return chunks;
}

// The test figure's root stands at (7, 9) in its file; the game puts each
// figure in its place beside the board.
TEST_F(GameOnContent, FiguresStandWhereTheGamePutsThem) {
    make(dir.path);
    EXPECT_EQ(game->player->rig.root->offsetX, 128);
    EXPECT_EQ(game->player->rig.root->offsetY, 100);
    EXPECT_EQ(game->background->rig.root->offsetX, 512);
    EXPECT_EQ(game->background->rig.root->offsetY, 100);
}

// A match, a special shot and a lost life, each with its sound; a special shot
// starts the player's attack afresh. (A match's attack is in the golden frames.)
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

    Mix_HaltChannel(-1);
    board->charge = kSpecialCharge;
    game->rightMouse.held = true;
    framesSinceShot = kShotCooldown + 1;
    frame();
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
    // A folder without resources/. What the game prints there the end-to-end
    // test reads.
    make(dir.path / "resources" / "wendle");
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 5) << printed;  // three sheets, two figures
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

// The browser's page loads the game a part per task; the parts in order must
// give the game the loading constructor gives, lines printed included.
TEST_F(GameOnContent, LoadedInStepsLikeAtOnce) {
    for (const std::filesystem::path& folder : {dir.path, dir.path / "resources" / "wendle"}) {
        SCOPED_TRACE(folder.string());
        make(folder);
        const std::string printedAtOnce = printed;
        platform::setGameRandState(platform::kGameRandStartState);
        WorkingDirectory cwd(folder);
        Game stepped(Game::InSteps{}, 640, 480);
        testing::internal::CaptureStdout();
        int parts = 0;
        while (stepped.loadNext(canvas.renderer)) ++parts;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), printedAtOnce);
        EXPECT_EQ(parts, 11);
        EXPECT_FALSE(stepped.loadNext(canvas.renderer));
        EXPECT_STREQ(stepped.nextLoadName(), "");
        EXPECT_EQ(stepped.board->currentColour, board->currentColour);
        EXPECT_EQ(stepped.board->nextColour, board->nextColour);
        EXPECT_EQ(stepped.pieceTexture->width, game->pieceTexture->width);
        EXPECT_EQ(stepped.fontTexture->frameRect.w, game->fontTexture->frameRect.w);
        EXPECT_EQ(stepped.player != nullptr, game->player != nullptr);
        EXPECT_EQ(stepped.background != nullptr, game->background != nullptr);
        for (int i = 0; i < kSoundCount; ++i) {
            EXPECT_EQ(stepped.sounds[i].chunk != nullptr, game->sounds[i].chunk != nullptr) << "sound " << i;
        }
    }
}

}  // namespace
