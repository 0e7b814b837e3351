#pragma once
// A skeleton: a tree of bones, each drawn with one limb image, posed from the
// root every frame.
#include <SDL.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "media/texture.h"
#include "skeleton/clip.h"

inline constexpr std::int32_t kMaxBoneChildren = 16;
inline constexpr std::int32_t kMaxLimbCount = 10;
inline constexpr double kDegreesPerRadian = 57.29577;

struct Bone {
    float angle = 0;       // absolute, radians, clockwise on screen
    float scale = 1;
    float fromAngle = 0;   // angle at the start of the running tween
    std::int32_t pivotX = 0, pivotY = 0;              // unscaled limb-image pixels
    std::int32_t scaledPivotX = 0, scaledPivotY = 0;  // recomputed by every pose
    std::int32_t offsetX = 0, offsetY = 0;            // in the parent's image; the root's screen position
    std::int32_t screenX = 0, screenY = 0;            // pivot on screen, from the latest pose
    std::int32_t tweenFrame = 0;
    std::int32_t childCount = 0;
    std::uint8_t limbIndex = 0;  // taken modulo the rig's limbCount
    std::uint8_t layer = 0;      // lower layers are drawn first
    const Keyframe* activeKeyframe = nullptr;
    Bone* parent = nullptr;
    Bone* children[kMaxBoneChildren] = {};
};

struct Rig {
    std::int32_t boneCount = 0;
    std::int32_t limbCount = 0;
    std::int32_t clipFrame = 0;
    std::unique_ptr<Bone[]> bones;  // allocated once; links point into it
    Bone* root = nullptr;           // always &bones[0]
    std::unique_ptr<Texture[]> limbTextures;
    const AnimationClip* currentClip = nullptr;  // owned by the character
    std::list<Keyframe>::const_iterator nextKeyframe;

    // Plays clip from its first keyframe at clip frame 0; running tweens go on.
    void playClip(const AnimationClip& clip);
    // Advances the clip (when animate), poses every bone from the root and
    // draws each limb in layer order.
    void render(SDL_Renderer* renderer, bool animate);
};
