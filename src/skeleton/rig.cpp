#include "skeleton/rig.h"

#include "media/content.h"
#include "skeleton/byte_reader.h"

bool Rig::load(SDL_Renderer* renderer, const std::string& directory, std::string& error) {
    const std::string path = gamePath(directory, kRigFile);
    std::vector<std::uint8_t> bytes;
    RigFile file;
    if (!readFigureFile(path, bytes, error) || !parseRig(bytes, path, file, error)) return false;
    build(file);
    loadLimbTextures(renderer, directory);
    return true;
}

void Rig::build(const RigFile& file) {
    boneCount = static_cast<std::int32_t>(file.bones.size());
    limbCount = file.limbCount;
    clipFrame = 0;
    currentClip = nullptr;
    bones = std::make_unique<Bone[]>(file.bones.size());
    for (std::size_t i = 0; i < file.bones.size(); ++i) {
        const BoneRecord& record = file.bones[i];
        Bone& bone = bones[i];
        bone.fromAngle = record.angle;
        bone.angle = record.angle;
        bone.scale = record.scale;
        bone.pivotX = record.pivotX;
        bone.pivotY = record.pivotY;
        bone.offsetX = record.offsetX;
        bone.offsetY = record.offsetY;
        bone.limbIndex = record.limbIndex;
        bone.layer = record.layer;
        bone.childCount = static_cast<std::int32_t>(record.children.size());
        for (std::size_t slot = 0; slot < record.children.size(); ++slot) {
            Bone& child = bones[record.children[slot]];
            bone.children[slot] = &child;
            child.parent = &bone;
        }
    }
    root = &bones[0];
    root->parent = nullptr;
    // Every bone fits in the list and on the walk's stack at once, so neither
    // ever grows while a frame is posed.
    drawList.clear();
    drawList.reserve(file.bones.size());
    walkStack.clear();
    walkStack.reserve(file.bones.size());
}

void Rig::loadLimbTextures(SDL_Renderer* renderer, const std::string& directory) {
    limbTextures = std::make_unique<Texture[]>(static_cast<std::size_t>(limbCount));
    for (std::int32_t i = 0; i < limbCount; ++i) limbTextures[i].load(gamePath(directory, limbFileName(i)), renderer);
}

void Rig::remakeLimbTextures(SDL_Renderer* renderer) {
    for (std::int32_t i = 0; i < limbCount; ++i) limbTextures[i].reload(renderer);
}

void Rig::playClip(const AnimationClip& clip) {
    currentClip = &clip;
    nextKeyframe = clip.keyframes.begin();
    clipFrame = 0;
}

void Rig::stepClip(bool animate) {
    if (!currentClip || currentClip->keyframes.empty()) return;
    // Only the next keyframe in file order is looked at, and only an exact
    // frame match starts it: a keyframe out of order holds back the rest.
    while (nextKeyframe != currentClip->keyframes.end() && nextKeyframe->startFrame == clipFrame) {
        const Keyframe& k = *nextKeyframe;
        Bone& bone = bones[k.boneIndex];
        bone.activeKeyframe = &k;
        bone.fromAngle = bone.angle;
        bone.tweenFrame = 0;
        ++nextKeyframe;
    }
    if (animate && clipFrame < INT32_MAX) ++clipFrame;
    if (clipFrame == currentClip->endFrame()) {
        nextKeyframe = currentClip->keyframes.begin();
        clipFrame = 0;
    }
}
