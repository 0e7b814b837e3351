#pragma once
// Keyframe animation clips: "when the clip reaches frame s, turn bone i to
// angle a over d frames".
#include <cstdint>
#include <list>
#include <string>
#include <vector>

struct Keyframe {
    std::int32_t boneIndex;   // bone of the rig that it turns
    std::int32_t startFrame;  // clip frame at which it starts
    std::int32_t duration;    // tween length in frames, at least 1
    float targetAngle;        // absolute angle in radians at the end of the tween
};

struct AnimationClip {
    // Keyframes in file order. A list keeps every keyframe at a fixed address,
    // which the bones and the rig refer to while playing.
    std::list<Keyframe> keyframes;

    // Replaces the keyframes with those given, in order. Only for a clip that
    // no rig is playing yet.
    void assign(const std::vector<Keyframe>& records);

    // Reads and checks the clip file at path (game separators) for a rig of
    // boneCount bones, then fills the clip. A missing or faulty file leaves the
    // clip untouched and returns false with error "<path>: <fault>".
    bool load(const std::string& path, std::int32_t boneCount, std::string& error);

    // The clip's end frame: start + duration of its last keyframe in file
    // order; 0 for an empty clip.
    std::int32_t endFrame() const;
};
