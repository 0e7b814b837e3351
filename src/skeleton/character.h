#pragma once
// One skeletal figure: its rig, an idle and an attack clip, and the state that
// plays the attack once and then returns to idle.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skeleton/clip.h"
#include "skeleton/rig.h"

struct Character {
    Rig rig;
    AnimationClip idleClip;
    AnimationClip attackClip;
    bool attackPlaying = false;
    std::int32_t attackFramesLeft = 0;  // game updates until idle returns

    // Loads "body.jrig", "idle.janim", "attack.janim" and the limb images from
    // directory (game separators, no trailing separator) and starts the idle
    // clip. The rig comes first (Rig::load), then both clips are checked
    // against its bones; a figure whose files are missing or faulty is
    // refused: one line such as
    // "Rig loading error! : <path>: <fault>" or "Clip loading error! : ..." on
    // standard output, and null is returned. A limb image that fails to load
    // is reported by Texture and does not refuse the figure.
    static std::unique_ptr<Character> load(SDL_Renderer* renderer, const std::string& directory);

    // Starts the attack clip from its beginning with a full count (its end
    // frame), also over a running attack.
    void startAttack();
    // Counts a running attack down by one update; returns to the idle clip,
    // from its start, when the count reaches 0. Does nothing while idle.
    void updateAttack();
};
