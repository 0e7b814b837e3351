#pragma once
// ".janim": a clip as 16-byte keyframe records, no header. Parsed and checked
// as a whole before the clip is built.
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "skeleton/clip.h"

inline constexpr std::size_t kKeyframeRecordBytes = 16;
// Passed as boneCount when no rig is at hand (a clip dumped on its own).
inline constexpr std::int32_t kAnyBoneCount = std::numeric_limits<std::int32_t>::max();

// Parses the keyframes held in bytes; a trailing partial record is ignored and
// no bytes give no keyframes. Every keyframe must last at least one frame and
// turn one of the boneCount bones of the rig that will play it, and a
// non-empty clip must end (start + duration of its last keyframe) at a frame
// from 1 to the largest int32. Returns false with error "<name>: <fault>" on
// the first fault; keyframes is then unspecified.
bool parseClip(std::span<const std::uint8_t> bytes, const std::string& name, std::int32_t boneCount,
               std::vector<Keyframe>& keyframes, std::string& error);

// An attack is played for its end frame's count of updates, so a clip of
// keyframeCount keyframes serves as one only with at least one. Returns false
// with error "<name>: <fault>" otherwise.
bool checkAttackClip(std::size_t keyframeCount, const std::string& name, std::string& error);

// The file bytes of keyframes, exactly as parseClip reads them back.
std::vector<std::uint8_t> encodeClip(const std::vector<Keyframe>& keyframes);
