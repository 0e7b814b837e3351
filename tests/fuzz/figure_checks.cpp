#include "fuzz/figure_checks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "skeleton/clip_file.h"
#include "skeleton/rig.h"
#include "skeleton/rig_file.h"

namespace {

// Playing a clip this many frames at most keeps one input quick.
constexpr std::int32_t kMostFramesPlayed = 300;

void require(bool promise) {
    if (!promise) std::abort();
}

bool sameKeyframes(const std::vector<Keyframe>& a, const std::vector<Keyframe>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Keyframe& x, const Keyframe& y) {
        return x.boneIndex == y.boneIndex && x.startFrame == y.startFrame && x.duration == y.duration &&
               std::memcmp(&x.targetAngle, &y.targetAngle, sizeof(float)) == 0;
    });
}

}  // namespace

void checkRigBytes(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    RigFile file;
    std::string error;
    if (!parseRig(bytes, "fuzz.jrig", file, error)) {
        require(!error.empty());
        return;
    }
    // Encoding reproduces the bytes that were read (trailing bytes aside).
    std::vector<std::uint8_t> encoded = encodeRig(file);
    require(encoded.size() <= size && std::equal(encoded.begin(), encoded.end(), data));
    RigFile again;
    require(parseRig(encoded, "fuzz.jrig", again, error));
    require(encodeRig(again) == encoded);

    Rig rig;
    rig.build(file);
    for (int frame = 0; frame < 3; ++frame) {
        rig.pose(true);
        require(rig.drawList.size() <= static_cast<std::size_t>(rig.boneCount));
    }
}

void checkClipBytes(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    const std::int32_t boneCount = 1 + data[0] % 64;
    std::span<const std::uint8_t> bytes(data + 1, size - 1);
    std::vector<Keyframe> keyframes;
    std::string error;
    if (!parseClip(bytes, "fuzz.janim", boneCount, keyframes, error)) {
        require(!error.empty());
        return;
    }
    require(keyframes.size() == bytes.size() / kKeyframeRecordBytes);
    std::vector<Keyframe> again;
    require(parseClip(encodeClip(keyframes), "fuzz.janim", boneCount, again, error));
    require(sameKeyframes(keyframes, again));

    // A chain of boneCount bones plays the clip.
    RigFile file;
    file.limbCount = 1;
    file.bones.resize(static_cast<std::size_t>(boneCount));
    for (std::int32_t i = 0; i + 1 < boneCount; ++i) file.bones[i].children.push_back(i + 1);
    Rig rig;
    rig.build(file);
    AnimationClip clip;
    clip.assign(keyframes);
    rig.playClip(clip);
    const std::int32_t frames = std::min(kMostFramesPlayed, clip.endFrame() + 2);
    for (std::int32_t frame = 0; frame < frames; ++frame) rig.pose(true);
    require(rig.clipFrame >= 0 && (keyframes.empty() || rig.clipFrame < clip.endFrame()));
}
