#include "skeleton/pose.h"
#include "skeleton/rig.h"

void Rig::render(SDL_Renderer* renderer, bool animate) {
    pose(animate);
    for (const Bone* bone : drawList) {
        Texture& limb = limbTextures[bone->limbIndex % limbCount];
        LimbPlacement placement = placeLimb(*bone, limb.width, limb.height);
        // A limb image is a single frame: its whole picture.
        const SDL_Rect& source = limb.selectFrame(0);
        SDL_RenderCopyEx(renderer, limb.texture, &source, &placement.destination, placement.degrees,
                         &placement.centre, SDL_FLIP_NONE);
    }
}
