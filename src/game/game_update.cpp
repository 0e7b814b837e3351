#include "game/game.h"

std::int32_t framesSinceShot = 0;

// Rules to come.
void Game::update() {}
