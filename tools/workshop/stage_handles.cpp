#include "stage_handles.h"

#include <SDL.h>

#include <cmath>

#include "media/content.h"
#include "platform/path.h"

namespace {

// A stage vector seen in a bone's own picture: turned back by its angle and
// scaled back to picture pixels.
void intoPicture(const Bone& bone, float dx, float dy, float& u, float& v) {
    const float c = std::cos(bone.angle), s = std::sin(bone.angle);
    const float scale = bone.scale != 0 ? bone.scale : 1.0f;
    u = (dx * c + dy * s) / scale;
    v = (-dx * s + dy * c) / scale;
}

std::int32_t roundToPixel(float value) { return static_cast<std::int32_t>(std::lround(value)); }

}  // namespace

bool LimbMask::load(const std::string& path) {
    SDL_Surface* read = SDL_LoadBMP(platform::nativePath(path).c_str());
    SDL_Surface* surface = read ? SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
    SDL_FreeSurface(read);
    if (!surface) return false;
    width = surface->w;
    height = surface->h;
    solid.assign(static_cast<std::size_t>(width) * height, false);
    const std::uint32_t key = (std::uint32_t{kColourKeyRed} << 16) | (std::uint32_t{kColourKeyGreen} << 8) |
                              kColourKeyBlue;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(surface->pixels) +
                                                                  y * surface->pitch);
        for (int x = 0; x < width; ++x) solid[static_cast<std::size_t>(y) * width + x] = (row[x] & 0xffffff) != key;
    }
    SDL_FreeSurface(surface);
    return true;
}

bool LimbMask::covers(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width && y < height && solid[static_cast<std::size_t>(y) * width + x];
}

int boneAt(const Rig& rig, const std::vector<LimbMask>& masks, float x, float y) {
    if (rig.limbCount <= 0) return -1;
    // Top first: the draw list is bottom first.
    for (auto it = rig.drawList.rbegin(); it != rig.drawList.rend(); ++it) {
        const Bone& bone = **it;
        const std::size_t limb = bone.limbIndex % rig.limbCount;
        if (limb >= masks.size()) continue;
        float u = 0, v = 0;
        intoPicture(bone, x - static_cast<float>(bone.screenX), y - static_cast<float>(bone.screenY), u, v);
        const float scale = bone.scale != 0 ? bone.scale : 1.0f;
        const float px = u + static_cast<float>(bone.scaledPivotX) / scale;
        const float py = v + static_cast<float>(bone.scaledPivotY) / scale;
        if (masks[limb].covers(static_cast<std::int32_t>(std::floor(px)), static_cast<std::int32_t>(std::floor(py))))
            return static_cast<int>(*it - rig.bones.get());
    }
    return -1;
}

BoneRecord draggedBone(const BoneRecord& start, DragKind kind, const Bone& posed, float dx, float dy, float x,
                       float y) {
    BoneRecord bone = start;
    float u = 0, v = 0;
    switch (kind) {
        case DragKind::offset:
            // The offset is a point of the parent's picture.
            if (!posed.parent) break;
            intoPicture(*posed.parent, dx, dy, u, v);
            bone.offsetX = start.offsetX + roundToPixel(u);
            bone.offsetY = start.offsetY + roundToPixel(v);
            break;
        case DragKind::pivot:
            // The picture goes with the mouse, so the point on the joint goes against it.
            intoPicture(posed, dx, dy, u, v);
            bone.pivotX = start.pivotX - roundToPixel(u);
            bone.pivotY = start.pivotY - roundToPixel(v);
            break;
        case DragKind::angle: {
            const float ax = x - static_cast<float>(posed.screenX), ay = y - static_cast<float>(posed.screenY);
            if (ax == 0 && ay == 0) break;
            bone.angle = std::round(std::atan2(-ax, ay) * 100.0f) / 100.0f;
            break;
        }
        case DragKind::none:
            break;
    }
    return bone;
}

void angleHandleEnd(const Bone& posed, float& x, float& y) {
    x = static_cast<float>(posed.screenX) - kAngleHandleLength * std::sin(posed.angle);
    y = static_cast<float>(posed.screenY) + kAngleHandleLength * std::cos(posed.angle);
}
