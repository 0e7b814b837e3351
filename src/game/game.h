#pragma once
// The Game owns everything that is played: the board, the sprite sheets, the
// two figures, the sounds and the input state the main loop fills.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <string>

#include "board/board.h"
#include "media/content.h"
#include "media/texture.h"
#include "skeleton/character.h"

// A button or key: held from its press until the sweep after its release.
struct ButtonState {
    bool held = false;
    bool releasedThisFrame = false;
};

// One sound effect; chunk is null when its file could not be loaded, and then
// playing it is silent.
struct Sound {
    Mix_Chunk* chunk = nullptr;  // owned
    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
};

inline constexpr std::int32_t kSoundCount = 4;
// The parts a Game loads: the board, three sheets, two figures, the sounds
// one by one, and the pieces' step lists.
inline constexpr std::int32_t kLoadParts = 7 + kSoundCount;
inline constexpr std::int32_t kShotCooldown = 20;    // a shot needs more updates than this
inline constexpr std::int32_t kPieceSpeed = 4;       // pixels per update
inline constexpr std::int32_t kHudGlyphSize = 16;
inline constexpr std::int32_t kHudX = 0;
inline constexpr std::int32_t kHudY = 64;

// Where the game shows a figure: the screen point its root stands on and the
// factor every bone's scale is multiplied by. The figure's own root offset is
// not used: the game places its figures itself.
struct FigurePlace {
    std::int32_t rootX, rootY;
    double scale;
};
inline constexpr FigurePlace kPlayerPlace{128, 100, 0.7};
inline constexpr FigurePlace kBackgroundPlace{512, 100, 0.8};
// The grey of the background every frame is cleared to.
inline constexpr std::uint8_t kBackgroundGrey = 100;

// Puts rig's root on place's point and scales every bone by place's factor
// (multiplied in double, stored as float). Needs a built rig.
void placeFigure(Rig& rig, const FigurePlace& place);

// Updates since the last shot, program-wide; a shot needs it above kShotCooldown.
extern std::int32_t framesSinceShot;

struct Game {
    std::unique_ptr<Board> board;
    std::int32_t width = 0;   // window size, pixels; the main loop updates it on resize
    std::int32_t height = 0;
    std::int32_t mouseX = 0;  // last pointer position, window pixels
    std::int32_t mouseY = 0;
    ButtonState leftMouse;
    ButtonState rightMouse;
    ButtonState keyW;
    ButtonState keyS;
    std::unique_ptr<Texture> pieceTexture;
    std::unique_ptr<Texture> borderTexture;
    std::unique_ptr<Texture> fontTexture;
    std::unique_ptr<Character> player;      // null when its files were refused
    std::unique_ptr<Character> background;  // null when its files were refused
    std::unique_ptr<Sound[]> sounds;
    std::int32_t soundCount = kSoundCount;

    // Loads every resource in a fixed order. renderer may be null (after a
    // failed start-up): sheets then stay empty and nothing is drawn. Failed
    // sheets and refused figures print one line each; construction always
    // completes.
    Game(SDL_Renderer* renderer, std::int32_t width, std::int32_t height);
    // A game with nothing loaded yet, for a start that must not hold the
    // browser's page for long: loadNext() then loads it one part at a time,
    // in the same order and with the same results as the loading constructor.
    // Until loadNext() has returned false it may be neither updated nor drawn.
    struct InSteps {};
    Game(InSteps, std::int32_t width, std::int32_t height);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Loads the next part (the board, each sheet, each figure, each sound, the
    // pieces' step lists) onto renderer, which may be null as for the loading
    // constructor. Returns false, doing nothing, once everything is loaded.
    bool loadNext(SDL_Renderer* renderer);
    // What loadNext() loads next, for the page's start-up profile; "" once
    // everything is loaded.
    const char* nextLoadName() const;
    std::int32_t partsLoaded = 0;  // how many of kLoadParts are loaded
    // Makes the three sheets and both figures' limb textures again from their
    // files, for a renderer that has lost its textures (a device reset). Board,
    // score, lives, poses and clips are untouched; pieces keep drawing from the
    // same Texture objects.
    void remakeTextures(SDL_Renderer* renderer);

    // One frame of rules: attack countdown, background spin, shots, the
    // board's rules, requested sounds.
    void update();
    // Draws one frame: board, border, figures, HUD. Leaves the draw colour at
    // the grey that the next frame's clear uses.
    void render(SDL_Renderer* renderer);
    // Draws text in the bitmap font, one size x size glyph per byte, from
    // (x, y); a line feed starts the next line size pixels lower.
    void drawText(SDL_Renderer* renderer, std::int32_t size, std::string text, std::int32_t x,
                  std::int32_t y);

    // The four runs of border tiles around boardArea.
    void drawBorder(SDL_Renderer* renderer, const SDL_Rect& boardArea);

    // Plays sound index i once on the first free channel; a missing sound is silent.
    void playSound(std::int32_t i);

    // Window y of the row a shot flies along: the mouse clamped into the
    // board's area, then snapped down to a multiple of 32.
    std::int32_t shotRow() const;

private:
    // The parts of update.
    void spinBackground();
    // Fires at most one piece once the cooldown has run out.
    void fireIfReady();
    void fireNormalPiece();
    void fireSpecialPiece();
};

// Border tiles: the top and bottom runs have tiles 0..lastAcross (none when
// lastAcross < 0); the left run 0..rows and the right run 0..rows + 1.
struct BorderRuns {
    std::int32_t lastAcross;
    std::int32_t rows;
};
BorderRuns borderRunsFor(std::int32_t width, std::int32_t rowCount);

// The board's rectangle in a window of the given size.
SDL_Rect boardAreaFor(std::int32_t width, std::int32_t height, std::int32_t rowCount);
