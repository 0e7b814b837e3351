#pragma once
// The workshop's stage: a figure loaded from its built game files by the
// game's own Character::load and posed and drawn by the game's own Rig code,
// placed and scaled as the game shows it, so the stage is the game's picture.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "game/game.h"
#include "skeleton/character.h"
#include "skeleton/rig_file.h"
#include "stage_handles.h"

// Which of the figure's clips the stage plays.
enum class StageClip { idle, attack };

// Where the game shows the figure whose source is at path: the background
// figure's place for content/figures/<background folder>.json, the player's
// for any other.
FigurePlace placeOfFigure(const std::string& path);

struct Stage {
    std::unique_ptr<Character> figure;  // null until a load succeeds
    RigFile rigFile;                    // the rig as loaded, to pose again from its start
    std::vector<LimbMask> limbMasks;    // limb i's drawn pixels, to find the limb under the mouse
    FigurePlace place = kPlayerPlace;
    StageClip clip = StageClip::idle;
    std::int32_t frame = 0;  // frames of the clip played before the one shown

    // Loads the figure from directory (game separators), as the game loads
    // its figures, and shows frame 0 of the idle clip at place. Returns false
    // with the game's own line (see Character::load) in error and leaves the
    // stage as it was.
    bool load(SDL_Renderer* renderer, const std::string& directory, const FigurePlace& where, std::string& error);

    // Poses the figure from its start as the game would after frame updates of
    // clip: the rig built again, placed, the clip begun (the attack as
    // Character::startAttack begins it), then frame poses. Needs a figure.
    void poseFrame(StageClip which, std::int32_t frame);

    // The clip's end frame, 0 without a figure.
    std::int32_t clipLength() const;

    // Draws the figure at the posed frame onto the renderer's current target
    // over the game's grey: one more pose and the game's Rig::render, exactly
    // the call the game makes each frame. Poses from the start every call,
    // so drawing the same frame twice gives the same picture.
    void draw(SDL_Renderer* renderer);

    // Clears the target to the game's grey, alpha included, as the game
    // clears each frame before drawing.
    static void clearToGrey(SDL_Renderer* renderer);

    // Draws the figure as draw does but at frame shown of the stage's clip and
    // without the grey: over whatever the target holds. The stage's own frame
    // is left as it was.
    void drawFigureAt(SDL_Renderer* renderer, std::int32_t shown);
};
