#pragma once
// A skeleton: a tree of bones, each drawn with one limb image, posed from the
// root every frame.
#include <SDL.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/texture.h"
#include "skeleton/clip.h"
#include "skeleton/rig_file.h"

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

    // Poses this bone alone, its parent already posed: scaled pivot, screen
    // position from the parent's angle, one tween step (angles move only when
    // animate), then its place in drawList, just before the first bone of an
    // equal or higher layer. The children are left to the caller's walk.
    void pose(std::vector<Bone*>& drawList, bool animate);

    // One frame of the running tween toward activeKeyframe's target; ends the
    // tween once its duration has been reached. Needs activeKeyframe.
    void stepTween(bool animate);
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

    // Bones in drawing order after the latest pose, bottom first. Kept between
    // frames together with the walk's stack so posing allocates nothing.
    std::vector<Bone*> drawList;
    std::vector<Bone*> walkStack;

    // Loads the rig of the figure in directory (game separators, no trailing
    // separator): "<directory>\body.jrig" read whole and checked (parseRig),
    // the bones built (build), then the limb textures made (loadLimbTextures).
    // A missing or faulty rig file returns false with error "<path>: <fault>"
    // and leaves the rig untouched; a limb image that fails is reported by
    // Texture and does not refuse the rig.
    bool load(SDL_Renderer* renderer, const std::string& directory, std::string& error);

    // Builds the bones and links from a checked rig file (parseRig/checkRig);
    // no textures. Clip playback starts idle: no clip, clipFrame 0.
    void build(const RigFile& file);

    // Loads limb texture i from "<directory>\limb<i>.bmp" for every limb. A
    // limb image that fails is reported by Texture and draws nothing.
    void loadLimbTextures(SDL_Renderer* renderer, const std::string& directory);

    // Makes every limb texture again from its file (Texture::reload), for a
    // renderer that has lost its textures; bones and playback are untouched.
    void remakeLimbTextures(SDL_Renderer* renderer);

    // Plays clip from its first keyframe at clip frame 0; running tweens go on.
    void playClip(const AnimationClip& clip);

    // The clip step of one frame: starts the keyframes due at clipFrame, then
    // (when animate) counts clipFrame on and loops at the clip's end frame.
    // Does nothing without a clip or with an empty one.
    void stepClip(bool animate);

    // Clip step, then every bone reachable from the root posed parent first,
    // children in file order, into drawList. Pure: no renderer involved.
    void pose(bool animate);

    // Poses (see pose) and draws each limb in drawList order, one
    // SDL_RenderCopyEx per bone turned about its pivot. Needs the limb
    // textures (loadLimbTextures); an empty one draws nothing.
    void render(SDL_Renderer* renderer, bool animate);
};
