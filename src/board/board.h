#pragma once
// The playfield: a 21 x 6 grid of one-byte cells drifting left across the
// board's rectangle, the pieces in flight over it, and the counters of play.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "board/piece.h"

struct Game;
struct Texture;

inline constexpr std::int32_t kColumnCount = 21;
inline constexpr std::int32_t kRowCount = 6;
inline constexpr std::int32_t kCellSize = 32;       // pixels
inline constexpr std::int32_t kShiftPeriod = 80;    // updates per column shift
inline constexpr std::int32_t kColourCount = 6;
inline constexpr std::uint8_t kSpecial = 6;
inline constexpr std::uint8_t kEmptyCell = 255;
inline constexpr std::int32_t kSweepLineBase = 64;  // pixels from the area's left edge
inline constexpr std::int32_t kSweepLineMax = 255;
inline constexpr std::int32_t kStartLives = 4;
inline constexpr std::int32_t kSpecialCharge = 40;  // charge a special shot needs

// Sound indices the board asks for (the Game's sound array).
inline constexpr std::int32_t kSoundMatch = 0;
inline constexpr std::int32_t kSoundStick = 1;
inline constexpr std::int32_t kSoundLifeLost = 2;
inline constexpr std::int32_t kSoundSpecialShot = 3;

// A grid position; (-1, -1) when a point lies outside the grid.
struct CellRef {
    std::int32_t column;
    std::int32_t row;
    bool operator==(const CellRef&) const = default;
};
inline constexpr CellRef kNoCell{-1, -1};

struct Board {
    // cells[column][row]; each column is its own array so that a shift only
    // moves column references.
    std::uint8_t* cells[kColumnCount];
    std::int32_t columnCount = kColumnCount;
    std::int32_t rowCount = kRowCount;
    std::int32_t scrollOffset = 0;   // 0..31 pixels, written by draw
    std::int32_t frameCounter = 0;   // updates begun
    std::int32_t shiftPeriod = kShiftPeriod;
    std::int32_t sweepLineX = kSweepLineBase;
    std::int32_t score = 0;
    std::int32_t charge = 0;
    std::int32_t lives = kStartLives;
    std::uint8_t currentColour = 0;
    std::uint8_t nextColour = 0;
    std::uint8_t* soundRequests = nullptr;  // soundCount flags, cleared every update
    std::int32_t soundCount = 0;
    Game* game = nullptr;            // owner; may be null in tests (no sounds, no figures)
    SDL_Rect area{0, 0, 0, 0};       // screen rectangle, written by draw
    std::vector<Piece*> pieces;      // in flight, in the order appended; owned
    std::vector<Piece*> removals;    // queued during the current update

    // An empty grid; draws the current and then the next colour from the
    // game's random sequence.
    Board(Game* game, std::int32_t soundCount);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // Grid cell under screen point (x, y), using the area and scroll offset of
    // the latest draw; kNoCell outside the grid.
    CellRef cellAt(std::int32_t x, std::int32_t y) const;
    // The two halves of cellAt, for callers that share a column or a row
    // between several points; either may lie off the grid.
    std::int32_t columnAt(std::int32_t x) const { return (x - (area.x - scrollOffset)) / kCellSize; }
    std::int32_t rowAt(std::int32_t y) const { return (y - area.y) / kCellSize; }
    bool onGrid(std::int32_t column, std::int32_t row) const {
        return column >= 0 && column < columnCount && row >= 0 && row < rowCount;
    }
    std::uint8_t& cell(CellRef ref) { return cells[ref.column][ref.row]; }

    // Appends piece to removals and flags it; it is destroyed at the end of
    // the current update.
    void queueRemoval(Piece& piece);
    // Appends the eight fragments of a burst from piece, of fragmentType.
    void spawnBurst(const Piece& piece, std::uint8_t fragmentType);
    // Takes ownership of a new piece in flight.
    void addPiece(Piece* piece) { pieces.push_back(piece); }

    // One update of the rules: clock, shift, refill, lives, sweep line, pieces,
    // removal.
    void update();
    // Draws cells, pieces, previews, sweep line, lives and charge bars, and
    // stores area and scrollOffset for the next update.
    void draw(SDL_Renderer* renderer, Texture& sheet, SDL_Rect area);

private:
    void drawCells(SDL_Renderer* renderer, Texture& sheet);
    void drawIndicators(SDL_Renderer* renderer, Texture& sheet);

    // The parts of update, in the order it runs them.
    void shiftColumnsLeft();
    // Refills the last column row by row and takes a life for a colour in
    // column 0; false once the board is lost, which ends the update.
    bool refillAndCheckLives();
    void enterLostState();
    void emptyAllButSpecialCells();
    // Clears special cells in the column the sweep line has reached.
    void sweepSpecialCells();
    void runPieceSteps();
    void destroyRemovedPieces();

    std::unique_ptr<std::uint8_t[]> cellStorage;
    std::unique_ptr<std::uint8_t[]> soundStorage;
};

// Source and destination of a cell drawn across the area's left or right
// edge: only the part inside the area is copied, scaled from the sheet's frame.
struct EdgeCellCopy {
    SDL_Rect source;
    SDL_Rect destination;
};
// destination is the cell's whole 32 x 32 square, which crosses an edge of
// area; frameRect is the sheet's frame rectangle (its w, y and h are used).
EdgeCellCopy edgeCellCopy(const SDL_Rect& area, const SDL_Rect& destination, std::int32_t value,
                          const SDL_Rect& frameRect);

// The charge bar: width in pixels (64 when full) and its cyan level (0, g, g).
struct ChargeBar {
    std::int32_t width;
    std::uint8_t green;
};
ChargeBar chargeBarFor(std::int32_t charge);

// The scroll offset a draw stores for frameCounter: trunc(float(f mod p)/float(p) * 32.0).
std::int32_t scrollOffsetFor(std::int32_t frameCounter, std::int32_t shiftPeriod);
