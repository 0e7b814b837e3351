#include "fuzz/figure_checks.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "skeleton/clip_file.h"
#include "skeleton/rig.h"

static void require(bool promise) { if (!promise) std::abort(); }

// An accepted file encodes back to the bytes that were read, trailing bytes aside.
static void requireEncodedPrefix(const std::vector<std::uint8_t>& encoded, std::span<const std::uint8_t> bytes) {
    require(encoded.size() <= bytes.size() && std::equal(encoded.begin(), encoded.end(), bytes.begin()));
}

void checkRigBytes(const std::uint8_t* data, std::size_t size) {
    RigFile file;
    std::string error;
    if (!parseRig({data, size}, "fuzz.jrig", file, error)) return require(!error.empty());
    requireEncodedPrefix(encodeRig(file), {data, size});
    Rig rig;
    rig.build(file);
    rig.pose(true);
    require(rig.drawList.size() <= static_cast<std::size_t>(rig.boneCount));
}

void checkClipBytes(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    const std::int32_t boneCount = 1 + data[0] % 64;
    std::span<const std::uint8_t> bytes(data + 1, size - 1);
    std::vector<Keyframe> keyframes;
    std::string error;
    if (!parseClip(bytes, "fuzz.janim", boneCount, keyframes, error)) return require(!error.empty());
    require(keyframes.size() == bytes.size() / kKeyframeRecordBytes);
    requireEncodedPrefix(encodeClip(keyframes), bytes);
    // A chain of boneCount bones plays the clip, for at most 300 frames to keep one input quick.
    RigFile file;
    file.bones.resize(static_cast<std::size_t>(boneCount));
    for (std::int32_t i = 0; i + 1 < boneCount; ++i) file.bones[i].children.push_back(i + 1);
    Rig rig;
    rig.build(file);
    AnimationClip clip;
    clip.assign(keyframes);
    rig.playClip(clip);
    for (std::int32_t frame = 0; frame < std::min(300, clip.endFrame() + 2); ++frame) rig.pose(true);
    require(rig.clipFrame >= 0 && (keyframes.empty() || rig.clipFrame < clip.endFrame()));
}
