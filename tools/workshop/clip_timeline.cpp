#include "clip_timeline.h"

#include <cmath>
#include <cstdio>

#include "skeleton/rig.h"

std::vector<KeyStart> keyStarts(const RigFile& file, const std::vector<Keyframe>& keys) {
    std::vector<KeyStart> starts(keys.size());
    if (keys.empty() || file.bones.empty()) return starts;
    AnimationClip clip;
    clip.assign(keys);
    Rig rig;
    rig.build(file);
    rig.limbCount = file.limbCount;
    rig.playClip(clip);
    std::vector<const Keyframe*> addresses;
    for (const Keyframe& k : clip.keyframes) addresses.push_back(&k);
    for (std::int32_t frame = 0; frame < clip.endFrame(); ++frame) {
        rig.pose(true);
        // A key started this frame has made its first tween step, no more.
        for (std::int32_t b = 0; b < rig.boneCount; ++b) {
            const Bone& bone = rig.bones[b];
            if (!bone.activeKeyframe || bone.tweenFrame != 1) continue;
            for (std::size_t i = 0; i < addresses.size(); ++i) {
                if (addresses[i] != bone.activeKeyframe) continue;
                starts[i].starts = true;
                starts[i].fromAngle = bone.fromAngle;
                starts[i].sweep = keys[i].targetAngle - bone.fromAngle;
            }
        }
    }
    return starts;
}

namespace {

std::string nameOf(const std::vector<std::string>& names, int bone) {
    return bone >= 0 && bone < static_cast<int>(names.size()) ? names[bone] : "bone " + std::to_string(bone);
}

void clipWarnings(const char* clipName, const RigFile& rig, const std::vector<Keyframe>& keys,
                  const std::vector<std::string>& names, std::vector<WorkshopWarning>& out) {
    const std::vector<KeyStart> starts = keyStarts(rig, keys);
    const std::int32_t end = keys.empty() ? 0 : keys.back().startFrame + keys.back().duration;
    char line[200];
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Keyframe& k = keys[i];
        const std::string which = std::string(clipName) + " key " + std::to_string(i) + " (" + nameOf(names, k.boneIndex) + ")";
        const auto warn = [&](const std::string& text) {
            out.push_back({which + ": " + text, k.boneIndex, clipName, static_cast<int>(i)});
        };
        if (!starts[i].starts) {
            warn("never starts: it comes after a key that starts later, and the game starts keys in file order");
            continue;
        }
        if (static_cast<std::int64_t>(k.startFrame) + k.duration > end) {
            std::snprintf(line, sizeof line, "runs to frame %lld, past the clip's end at frame %d, and is cut off",
                          static_cast<long long>(k.startFrame) + k.duration, end);
            warn(line);
        }
        if (std::fabs(starts[i].sweep) > kHalfTurn) {
            std::snprintf(line, sizeof line, "turns %.2f rad from %.2f, further than half a turn",
                          static_cast<double>(starts[i].sweep), static_cast<double>(starts[i].fromAngle));
            warn(line);
        }
    }
}

}  // namespace

std::vector<WorkshopWarning> workshopWarnings(const CompiledFigure& figure,
                                              const std::vector<std::pair<int, int>>& limbSizes,
                                              const std::vector<std::string>& names) {
    std::vector<WorkshopWarning> out;
    const RigFile& rig = figure.rig;
    for (std::size_t b = 0; b < rig.bones.size(); ++b) {
        const BoneRecord& bone = rig.bones[b];
        if (rig.limbCount <= 0) break;
        const std::size_t limb = bone.limbIndex % rig.limbCount;
        if (limb >= limbSizes.size()) continue;
        const auto [w, h] = limbSizes[limb];
        if (bone.pivotX < 0 || bone.pivotY < 0 || bone.pivotX >= w || bone.pivotY >= h) {
            out.push_back({nameOf(names, static_cast<int>(b)) + ": pivot (" + std::to_string(bone.pivotX) + ", " +
                               std::to_string(bone.pivotY) + ") is outside its " + std::to_string(w) + " x " +
                               std::to_string(h) + " picture",
                           static_cast<int>(b), "", -1});
        }
    }
    clipWarnings("idle", rig, figure.idle, names, out);
    clipWarnings("attack", rig, figure.attack, names, out);
    return out;
}
