#pragma once
// Hand-written figure files for the skeleton tests. The bytes are laid out
// here field by field, independently of the game's own encoder, so that the
// tests pin the file formats themselves.
#include <bit>
#include <cstdint>
#include <vector>

#include "skeleton/clip.h"
#include "skeleton/rig_file.h"

namespace figure_bytes {

using Bytes = std::vector<std::uint8_t>;

inline void putInt(Bytes& out, std::int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

// Bones given as {angle, scale, pivotX, pivotY, offsetX, offsetY, limb, layer, children}.
inline Bytes rigBytes(std::int32_t limbCount, const std::vector<BoneRecord>& bones) {
    Bytes out;
    putInt(out, static_cast<std::int32_t>(bones.size()));
    putInt(out, limbCount);
    for (const BoneRecord& b : bones) {
        for (float f : {b.angle, b.scale}) putInt(out, std::bit_cast<std::int32_t>(f));
        for (std::int32_t v : {b.pivotX, b.pivotY, b.offsetX, b.offsetY, static_cast<std::int32_t>(b.children.size())})
            putInt(out, v);
        out.push_back(b.limbIndex);
        out.push_back(b.layer);
        for (std::int32_t c : b.children) putInt(out, c);
    }
    return out;
}

// Keyframes given as {bone, start, duration, angle}; on disk the angle leads.
inline Bytes clipBytes(const std::vector<Keyframe>& keys) {
    Bytes out;
    for (const Keyframe& k : keys) {
        putInt(out, std::bit_cast<std::int32_t>(k.targetAngle));
        for (std::int32_t v : {k.boneIndex, k.startFrame, k.duration}) putInt(out, v);
    }
    return out;
}

}  // namespace figure_bytes
