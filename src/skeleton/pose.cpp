#include "skeleton/pose.h"

#include <algorithm>
#include <cmath>

#include "skeleton/rig.h"

namespace {

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int32_t truncateToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value < -2147483648.0f) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

LimbPlacement placeLimb(const Bone& bone, std::int32_t imageWidth, std::int32_t imageHeight) {
    LimbPlacement placement{};
    placement.destination.x = clampToInt32(static_cast<std::int64_t>(bone.screenX) - bone.scaledPivotX);
    placement.destination.y = clampToInt32(static_cast<std::int64_t>(bone.screenY) - bone.scaledPivotY);
    placement.destination.w = truncateToInt32(static_cast<float>(imageWidth) * bone.scale);
    placement.destination.h = truncateToInt32(static_cast<float>(imageHeight) * bone.scale);
    placement.centre = SDL_Point{bone.scaledPivotX, bone.scaledPivotY};
    placement.degrees = static_cast<double>(bone.angle) * kDegreesPerRadian;
    return placement;
}

void Bone::pose(std::vector<Bone*>& drawList, bool animate) {
    scaledPivotX = truncateToInt32(static_cast<float>(pivotX) * scale);
    scaledPivotY = truncateToInt32(static_cast<float>(pivotY) * scale);
    if (!parent) {
        screenX = offsetX;
        screenY = offsetY;
    } else {
        // Single precision throughout, each value truncated where it is
        // stored: the figures line up to the pixel only this way (at a
        // quarter turn, 94 - 4e-7 must stay 94).
        const Bone& p = *parent;
        const float ca = static_cast<float>(std::cos(static_cast<double>(p.angle)));
        const float sa = static_cast<float>(std::sin(static_cast<double>(p.angle)));
        const float ox = static_cast<float>(offsetX);
        const float oy = static_cast<float>(offsetY);
        const std::int32_t x1 = truncateToInt32((ox * ca - oy * sa) * p.scale + static_cast<float>(p.screenX));
        const std::int32_t y1 = truncateToInt32((ox * sa + oy * ca) * p.scale + static_cast<float>(p.screenY));
        const float px = static_cast<float>(p.scaledPivotX);
        const float py = static_cast<float>(p.scaledPivotY);
        screenX = truncateToInt32(static_cast<float>(x1) - (px * ca - py * sa));
        screenY = truncateToInt32(static_cast<float>(y1) - (px * sa + py * ca));
    }
    // After our own position, before the children: they and the drawing use
    // the stepped angle.
    if (activeKeyframe) stepTween(animate);
    auto firstNotBelow = std::find_if(drawList.begin(), drawList.end(),
                                      [this](const Bone* other) { return other->layer >= layer; });
    drawList.insert(firstNotBelow, this);
}

void Bone::stepTween(bool animate) {
    const Keyframe& k = *activeKeyframe;
    float t = static_cast<float>(tweenFrame) / static_cast<float>(k.duration);
    if (animate) {
        float fromPart = (1.0f - t) * fromAngle;
        float toPart = t * k.targetAngle;
        angle = fromPart + toPart;
    }
    if (tweenFrame == k.duration) activeKeyframe = nullptr;
    if (animate) ++tweenFrame;
}

void Rig::pose(bool animate) {
    drawList.clear();
    stepClip(animate);
    // Depth first with our own stack rather than recursion, so a long chain of
    // bones cannot exhaust the call stack. Children go on in reverse so the
    // first child comes off first and its whole subtree precedes the next.
    walkStack.clear();
    walkStack.push_back(root);
    while (!walkStack.empty()) {
        Bone* bone = walkStack.back();
        walkStack.pop_back();
        bone->pose(drawList, animate);
        for (std::int32_t slot = bone->childCount - 1; slot >= 0; --slot) walkStack.push_back(bone->children[slot]);
    }
}
