#include "skeleton/character.h"

#include "media/content.h"
#include "platform/report.h"
#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"

namespace {

bool readClip(const std::string& path, std::int32_t boneCount, std::vector<Keyframe>& keyframes,
              std::string& error) {
    std::vector<std::uint8_t> bytes;
    return readFigureFile(path, bytes, error) && parseClip(bytes, path, boneCount, keyframes, error);
}

}  // namespace

std::unique_ptr<Character> Character::load(SDL_Renderer* renderer, const std::string& directory) {
    std::string error;
    const std::string bodyPath = rigPath(directory);
    std::vector<std::uint8_t> bytes;
    RigFile rigFile;
    if (!readFigureFile(bodyPath, bytes, error) || !parseRig(bytes, bodyPath, rigFile, error)) {
        platform::reportError(kRigLoadError, error);
        return nullptr;
    }
    const auto boneCount = static_cast<std::int32_t>(rigFile.bones.size());
    const std::string idlePath = gamePath(directory, kIdleClipFile);
    const std::string attackPath = gamePath(directory, kAttackClipFile);
    std::vector<Keyframe> idle;
    std::vector<Keyframe> attack;
    if (!readClip(idlePath, boneCount, idle, error) || !readClip(attackPath, boneCount, attack, error) ||
        !checkAttackClip(attack, attackPath, error)) {
        platform::reportError(kClipLoadError, error);
        return nullptr;
    }

    auto character = std::make_unique<Character>();
    character->rig.build(rigFile);
    character->rig.loadLimbTextures(renderer, directory);
    character->idleClip.assign(idle);
    character->attackClip.assign(attack);
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
