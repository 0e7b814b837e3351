#include <algorithm>

#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"
#include "skeleton/rig.h"

void AnimationClip::assign(const std::vector<Keyframe>& records) {
    keyframes.assign(records.begin(), records.end());
}

bool AnimationClip::load(const std::string& path, std::int32_t boneCount, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!readFigureFile(path, bytes, error)) return false;
    std::vector<Keyframe> records;
    if (!parseClip(bytes, path, boneCount, records, error)) return false;
    assign(records);
    return true;
}

std::int32_t AnimationClip::endFrame() const {
    if (keyframes.empty()) return 0;
    // Loaded clips end inside int32; a hand-made one must not overflow either.
    std::int64_t end = static_cast<std::int64_t>(keyframes.back().startFrame) + keyframes.back().duration;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(end, INT32_MIN, INT32_MAX));
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

void Bone::stepTween(bool animate) {
    const Keyframe& k = *activeKeyframe;
    float t = static_cast<float>(tweenFrame) / static_cast<float>(k.duration);
    if (animate) {
        float fromPart = (1.0f - t) * fromAngle;
        float toPart = t * k.targetAngle;
        angle = fromPart + toPart;
    }
    if (tweenFrame == k.duration) activeKeyframe = nullptr;
    if (animate) ++tweenFrame;
}
