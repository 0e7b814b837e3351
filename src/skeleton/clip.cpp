#include "skeleton/clip.h"

#include <algorithm>

#include "skeleton/byte_reader.h"
#include "skeleton/clip_file.h"

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
