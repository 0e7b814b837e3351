// A renderer may lose its textures while the game runs (a Windows device
// reset, a lost WebGL context). The game then makes every sheet and limb image
// again from its file and plays on as if nothing had happened.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

constexpr int kFrames = 400;  // the reset comes before the last of them

// The game's program-wide state, back at its start for each run.
void resetGlobals() {
    framesSinceShot = 0;
    platform::setGameRandState(platform::kGameRandStartState);
}

// Every texture the game draws with: the three sheets, then each figure's limbs.
std::vector<SDL_Texture*> texturesOf(const Game& game) {
    std::vector<SDL_Texture*> textures = {game.pieceTexture->texture, game.borderTexture->texture,
                                          game.fontTexture->texture};
    for (const Character* figure : {game.player.get(), game.background.get()}) {
        for (std::int32_t i = 0; i < figure->rig.limbCount; ++i) textures.push_back(figure->rig.limbTextures[i].texture);
    }
    return textures;
}

std::vector<float> boneAngles(const Rig& rig) {
    std::vector<float> angles;
    for (std::int32_t i = 0; i < rig.boneCount; ++i) angles.push_back(rig.bones[i].angle);
    return angles;
}

// What one run leaves behind after its last frame.
struct Outcome {
    std::vector<std::uint8_t> pixels;  // the last frame as drawn
    std::vector<SDL_Texture*> texturesBeforeLastFrame;
    std::vector<SDL_Texture*> texturesAfterLastFrame;
    std::string output;  // what the game printed
    std::vector<std::vector<std::uint8_t>> cells;
    std::int32_t score, charge, lives;
    std::size_t pieceCount;
    std::int32_t playerClipFrame;
    std::int32_t attackFramesLeft;
    std::vector<float> playerAngles, backgroundAngles;
};

// Plays the shipped game from its start on a software canvas through the
// shell's own frame, the left button held on the middle row, and hands the
// shell `event` (if any) just before the last frame.
Outcome play(SDL_Event* event) {
    resetGlobals();
    testsupport::Canvas canvas(kWindowWidth, kWindowHeight);
    Application app;
    app.renderer = canvas.renderer;
    Outcome outcome{};
    testing::internal::CaptureStdout();
    app.game = std::make_unique<Game>(canvas.renderer, kWindowWidth, kWindowHeight);
    Game& game = *app.game;
    game.mouseY = 400;
    for (int frame = 1; frame <= kFrames; ++frame) {
        game.leftMouse.held = true;
        if (frame == kFrames) {
            outcome.texturesBeforeLastFrame = texturesOf(game);
            if (event) SDL_PushEvent(event);
        }
        app.runFrame(false);
    }
    outcome.output = testing::internal::GetCapturedStdout();
    outcome.texturesAfterLastFrame = texturesOf(game);
    const auto* bytes = static_cast<const std::uint8_t*>(canvas.surface->pixels);
    outcome.pixels.assign(bytes, bytes + canvas.surface->pitch * canvas.surface->h);
    for (std::int32_t x = 0; x < game.board->columnCount; ++x)
        outcome.cells.emplace_back(game.board->cells[x], game.board->cells[x] + game.board->rowCount);
    outcome.score = game.board->score;
    outcome.charge = game.board->charge;
    outcome.lives = game.board->lives;
    outcome.pieceCount = game.board->pieces.size();
    outcome.playerClipFrame = game.player->rig.clipFrame;
    outcome.attackFramesLeft = game.player->attackFramesLeft;
    outcome.playerAngles = boneAngles(game.player->rig);
    outcome.backgroundAngles = boneAngles(game.background->rig);
    app.game.reset();  // its textures go before the canvas's renderer
    resetGlobals();
    return outcome;
}

}  // namespace

TEST(RenderReset, RemakesEveryTextureAndPlaysOnUnchanged) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    const Outcome undisturbed = play(nullptr);
    ASSERT_EQ(undisturbed.output, "");
    ASSERT_GT(undisturbed.score, 0) << "the run should have scored, or it checks little";
    for (const Uint32 type : {SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET}) {
        SCOPED_TRACE(type == SDL_RENDER_TARGETS_RESET ? "targets reset" : "device reset");
        SDL_Event reset{};
        reset.type = type;
        const Outcome after = play(&reset);
        EXPECT_EQ(after.output, "");
        ASSERT_EQ(after.texturesAfterLastFrame.size(), after.texturesBeforeLastFrame.size());
        for (std::size_t i = 0; i < after.texturesAfterLastFrame.size(); ++i) {
            SCOPED_TRACE("texture " + std::to_string(i));
            EXPECT_NE(after.texturesAfterLastFrame[i], nullptr);
            EXPECT_NE(after.texturesAfterLastFrame[i], after.texturesBeforeLastFrame[i]);
        }
        ASSERT_EQ(after.pixels.size(), undisturbed.pixels.size());
        std::size_t differingBytes = 0;
        for (std::size_t i = 0; i < after.pixels.size(); ++i) differingBytes += after.pixels[i] != undisturbed.pixels[i];
        EXPECT_EQ(differingBytes, 0u) << "bytes of the frame after the reset that differ";
        EXPECT_EQ(after.cells, undisturbed.cells);
        EXPECT_EQ(after.score, undisturbed.score);
        EXPECT_EQ(after.charge, undisturbed.charge);
        EXPECT_EQ(after.lives, undisturbed.lives);
        EXPECT_EQ(after.pieceCount, undisturbed.pieceCount);
        EXPECT_EQ(after.playerClipFrame, undisturbed.playerClipFrame);
        EXPECT_EQ(after.attackFramesLeft, undisturbed.attackFramesLeft);
        EXPECT_EQ(after.playerAngles, undisturbed.playerAngles);
        EXPECT_EQ(after.backgroundAngles, undisturbed.backgroundAngles);
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}
