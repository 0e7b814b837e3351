#include "skeleton/character.h"

#include "media/content.h"
#include "platform/report.h"
#include "skeleton/clip_file.h"

std::unique_ptr<Character> Character::load(SDL_Renderer* renderer, const std::string& directory) {
    std::string error;
    auto character = std::make_unique<Character>();
    if (!character->rig.load(renderer, directory, error)) {
        platform::reportError(kRigLoadError, error);
        return nullptr;
    }
    const std::int32_t boneCount = character->rig.boneCount;
    const std::string attackPath = gamePath(directory, kAttackClipFile);
    if (!character->idleClip.load(gamePath(directory, kIdleClipFile), boneCount, error) ||
        !character->attackClip.load(attackPath, boneCount, error) ||
        !checkAttackClip(character->attackClip.keyframes.size(), attackPath, error)) {
        platform::reportError(kClipLoadError, error);
        return nullptr;
    }
    character->rig.playClip(character->idleClip);
    return character;
}

void Character::startAttack() {
    rig.playClip(attackClip);
    attackPlaying = true;
    attackFramesLeft = attackClip.endFrame();
}

void Character::updateAttack() {
    if (!attackPlaying) return;
    attackFramesLeft -= 1;
    if (attackFramesLeft == 0) {
        rig.playClip(idleClip);
        attackPlaying = false;
        attackFramesLeft = 0;
    }
}
