#include "skeleton/clip_file.h"

#include "skeleton/byte_reader.h"

namespace {

std::string fault(const std::string& name, const std::string& what) { return name + ": " + what; }

bool checkKeyframe(const Keyframe& k, std::size_t index, const std::string& name, std::int32_t boneCount,
                   std::string& error) {
    std::string which = "keyframe " + std::to_string(index);
    if (k.duration < 1) {
        // Its first tween step would divide 0 by 0.
        error = fault(name, which + " has duration " + std::to_string(k.duration));
        return false;
    }
    if (k.boneIndex < 0 || k.boneIndex >= boneCount) {
        error = fault(name, which + " turns bone " + std::to_string(k.boneIndex) + ", but the rig has " +
                                std::to_string(boneCount) + " bones");
        return false;
    }
    return true;
}

// The clip loops when its frame counter reaches the end frame exactly, so the
// end must be reachable by counting up from 0 without overflowing.
bool checkEndFrame(const std::vector<Keyframe>& keyframes, const std::string& name, std::string& error) {
    if (keyframes.empty()) return true;
    const Keyframe& last = keyframes.back();
    std::int64_t end = static_cast<std::int64_t>(last.startFrame) + last.duration;
    if (end >= 1 && end <= std::numeric_limits<std::int32_t>::max()) return true;
    error = fault(name, "end frame " + std::to_string(end) + " of the last keyframe is outside 1 to " +
                            std::to_string(std::numeric_limits<std::int32_t>::max()));
    return false;
}

}  // namespace

bool parseClip(std::span<const std::uint8_t> bytes, const std::string& name, std::int32_t boneCount,
               std::vector<Keyframe>& keyframes, std::string& error) {
    ByteReader reader{bytes};
    keyframes.clear();
    keyframes.reserve(reader.remaining() / kKeyframeRecordBytes);
    while (reader.remaining() >= kKeyframeRecordBytes) {
        Keyframe k{};
        reader.readFloat32(k.targetAngle);
        reader.readInt32(k.boneIndex);
        reader.readInt32(k.startFrame);
        reader.readInt32(k.duration);
        if (!checkKeyframe(k, keyframes.size(), name, boneCount, error)) return false;
        keyframes.push_back(k);
    }
    return checkEndFrame(keyframes, name, error);
}

bool checkAttackClip(std::size_t keyframeCount, const std::string& name, std::string& error) {
    if (keyframeCount > 0) return true;
    error = fault(name, "the attack clip holds no keyframe");
    return false;
}

std::vector<std::uint8_t> encodeClip(const std::vector<Keyframe>& keyframes) {
    std::vector<std::uint8_t> out;
    for (const Keyframe& k : keyframes) {
        appendFloat32(out, k.targetAngle);
        appendInt32(out, k.boneIndex);
        appendInt32(out, k.startFrame);
        appendInt32(out, k.duration);
    }
    return out;
}
