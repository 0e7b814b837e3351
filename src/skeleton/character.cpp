#include "skeleton/character.h"

#include "media/content.h"
#include "platform/report.h"
#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"

std::unique_ptr<Character> Character::load(SDL_Renderer* renderer, const std::string& directory) {
    std::string error;
    const std::string rigPath = gamePath(directory, kRigFile);
    std::vector<std::uint8_t> bytes;
    RigFile rigFile;
    if (!readFigureFile(rigPath, bytes, error) || !parseRig(bytes, rigPath, rigFile, error)) {
        platform::reportError(kRigLoadError, error);
        return nullptr;
    }
    const auto boneCount = static_cast<std::int32_t>(rigFile.bones.size());
    const std::string attackPath = gamePath(directory, kAttackClipFile);
    auto character = std::make_unique<Character>();
    if (!character->idleClip.load(gamePath(directory, kIdleClipFile), boneCount, error) ||
        !character->attackClip.load(attackPath, boneCount, error) ||
        !checkAttackClip(character->attackClip.keyframes.size(), attackPath, error)) {
        platform::reportError(kClipLoadError, error);
        return nullptr;
    }
    // Only a figure whose three files are all sound gets its bones and limb
    // images.
    character->rig.build(rigFile);
    character->rig.loadLimbTextures(renderer, directory);
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
