#include "skeleton/character.h"

// Figures are not loaded yet: the game runs without them.
std::unique_ptr<Character> Character::load(SDL_Renderer*, const std::string&) { return nullptr; }

void Character::startAttack() {}

void Character::updateAttack() {}

void Rig::playClip(const AnimationClip& clip) {
    currentClip = &clip;
    nextKeyframe = clip.keyframes.begin();
    clipFrame = 0;
}

void Rig::render(SDL_Renderer*, bool) {}

std::int32_t AnimationClip::endFrame() const {
    if (keyframes.empty()) return 0;
    return keyframes.back().startFrame + keyframes.back().duration;
}
