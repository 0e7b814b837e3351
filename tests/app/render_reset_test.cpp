// A renderer may lose its textures while the game runs (a Windows device
// reset, a lost WebGL context). The game then makes every sheet and limb image
// again from its file and plays on as if nothing had happened.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/application.h"
#include "platform/random.h"
#include "support/canvas.h"

namespace {

// Every texture the game draws with: the three sheets, then each figure's limbs.
std::vector<SDL_Texture*> texturesOf(const Game& game) {
    std::vector<SDL_Texture*> textures = {game.pieceTexture->texture, game.borderTexture->texture,
                                          game.fontTexture->texture};
    for (const Character* figure : {game.player.get(), game.background.get()}) {
        for (std::int32_t i = 0; i < figure->rig.limbCount; ++i) textures.push_back(figure->rig.limbTextures[i].texture);
    }
    return textures;
}

// Plays the shipped game from its start through the shell's own frame for 400
// frames, the left button held on the middle row, and hands back the last
// frame's pixels, score included. With `reset`, a device reset arrives before
// the last frame, and every texture must be remade by it.
std::vector<std::uint8_t> play(bool reset) {
    framesSinceShot = 0;
    platform::setGameRandState(platform::kGameRandStartState);
    testsupport::Canvas canvas(kWindowWidth, kWindowHeight);
    Application app;
    app.renderer = canvas.renderer;
    app.game = std::make_unique<Game>(canvas.renderer, kWindowWidth, kWindowHeight);
    Game& game = *app.game;
    game.mouseY = 400;
    std::vector<SDL_Texture*> before;
    for (int frame = 1; frame <= 400; ++frame) {
        game.leftMouse.held = true;
        if (reset && frame == 400) {
            before = texturesOf(game);
            SDL_Event event{};
            event.type = SDL_RENDER_DEVICE_RESET;
            SDL_PushEvent(&event);
        }
        app.runFrame(false);
    }
    EXPECT_GT(game.board->score, 0) << "the run should have scored, or it checks little";
    const std::vector<SDL_Texture*> after = texturesOf(game);
    // (A texture left empty would show in the frame.)
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_NE(after[i], before[i]) << "texture " << i << " was kept";
    const auto* bytes = static_cast<const std::uint8_t*>(canvas.surface->pixels);
    std::vector<std::uint8_t> pixels(bytes, bytes + canvas.surface->pitch * canvas.surface->h);
    app.game.reset();  // its textures go before the canvas's renderer
    return pixels;
}

TEST(RenderReset, RemakesEveryTextureAndPlaysOnUnchanged) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    EXPECT_TRUE(play(true) == play(false)) << "the frame after the reset differs";
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace
