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

    // Loads "body.jrig", the limb images and both clips from directory (game
    // separators, no trailing separator). Refuses a figure whose files are
    // missing or inconsistent: prints one line naming the file and the fault
    // and returns null.
    static std::unique_ptr<Character> load(SDL_Renderer* renderer, const std::string& directory);

    // Starts the attack clip from its beginning with a full count.
    void startAttack();
    // Counts a running attack down by one update; returns to idle at 0.
    void updateAttack();
};
