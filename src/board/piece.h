#pragma once
// Everything that moves over the board: fired pieces and burst fragments. A
// piece has no behaviour of its own; it carries the list of steps that the
// board's update runs on it.
#include <cstdint>
#include <vector>

struct Board;
struct Piece;
struct Texture;

// One behaviour step: may move the piece, change cells and counters, append
// pieces to the board and queue its own piece for removal. Never erases or
// destroys a piece.
using PieceStep = void (*)(Piece& piece, Board& board);
using StepList = std::vector<PieceStep>;

inline constexpr std::int32_t kPieceSize = 32;     // fired pieces, pixels square
inline constexpr std::int32_t kFragmentSize = 8;   // burst fragments, pixels square
inline constexpr std::int32_t kBurstSize = 8;      // fragments per burst
inline constexpr double kBurstAngleStep = 0.7853;  // radians between fragments
inline constexpr double kBurstSpeed = 15.0;        // pixels per update

struct Piece {
    float x;                 // left edge, screen pixels
    float y;                 // top edge, screen pixels
    float vx;                // pixels added to x every update
    float vy;                // pixels added to y every update
    std::int32_t width;      // drawn size, pixels
    std::int32_t height;
    Texture* texture;        // sheet drawn from, not owned
    std::uint8_t type;       // 0..5 a colour, 6 special; also the frame drawn
    std::uint8_t removed;    // 1 once queued for removal
    StepList steps;          // the piece's own copy of its behaviour

    // Integer position and speed are stored as floats; steps is copied.
    Piece(std::uint8_t type, Texture* texture, const StepList& steps, std::int32_t x,
          std::int32_t y, std::int32_t vx, std::int32_t vy, std::int32_t width,
          std::int32_t height);
};

// The three behaviours, filled (not appended to) by every Game construction so
// that each always holds exactly its three steps.
extern StepList normalPieceSteps;
extern StepList fragmentSteps;
extern StepList specialPieceSteps;

// Fills the three lists with their steps; safe to call any number of times.
void fillPieceStepLists();

// x += vx, then y += vy.
void stepMove(Piece& piece, Board& board);
// Queues the piece once its top-left point is outside the board's area.
void stepLeaveArea(Piece& piece, Board& board);
// A fired coloured piece: bursts on a cell of its colour, otherwise sticks.
void stepNormalPiece(Piece& piece, Board& board);
// The charged piece: empties every cell it meets and flies on.
void stepSpecialPiece(Piece& piece, Board& board);
// A burst fragment: destroys cells of its type, dies on the first other one.
void stepFragment(Piece& piece, Board& board);
