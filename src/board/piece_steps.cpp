// The rules that act on cells: how fired pieces and burst fragments move,
// leave the board, burst, stick and plough through the wall.
#include <cmath>

#include "board/board.h"
#include "board/piece.h"
#include "game/game.h"

namespace {

// A burst starts 16 pixels beyond a fired piece's right edge, level with its
// middle: the centre of the cell ahead when the piece is on the grid.
constexpr std::int32_t kBurstOffsetX = 48;
constexpr std::int32_t kBurstOffsetY = 16;

// Fragments are small enough that four corners cover what they touch.
constexpr float kFragmentReach = 8.0f;

// The pixel a piece stands on: its top-left corner, truncated toward zero.
std::int32_t pixelOf(float position) { return static_cast<std::int32_t>(position); }

CellRef ownCellOf(const Piece& piece, const Board& board) {
    return board.cellAt(pixelOf(piece.x), pixelOf(piece.y));
}

CellRef cellAheadOf(const Piece& piece, const Board& board) {
    return board.cellAt(pixelOf(piece.x) + kCellSize, pixelOf(piece.y));
}

// True when a fired piece has something to hit: both its own cell and the one
// ahead are on the grid and the one ahead is occupied.
bool facesOccupiedCell(Board& board, CellRef own, CellRef ahead) {
    return own != kNoCell && ahead != kNoCell && board.cell(ahead) != kEmptyCell;
}

void requestSound(Board& board, std::int32_t index) {
    if (index < board.soundCount) board.soundRequests[index] = 1;
}

void startPlayerAttack(Board& board) {
    if (board.game && board.game->player) board.game->player->startAttack();
}

// Returns true when the fragment dies on this cell. Kept out of line: a
// fragment meets a filled cell only a few times in its life, while the
// empty-cell test before it runs at every corner of every update.
[[gnu::noinline]] bool fragmentHits(Piece& fragment, Board& board, CellRef ref) {
    std::uint8_t& cell = board.cell(ref);
    if (cell != kEmptyCell) {
        board.score += 1;
        // Special fragments clear the way but do not feed the special shot.
        if (fragment.type != kSpecial) board.charge += 1;
        requestSound(board, kSoundMatch);
    }
    bool passesThrough = cell == fragment.type || cell == kEmptyCell;
    cell = kEmptyCell;
    return !passesThrough;
}

// True when the fragment dies on the cell at (column, row); a corner off the
// grid touches nothing.
inline bool fragmentDiesAt(Piece& fragment, Board& board, std::int32_t column, std::int32_t row) {
    if (!board.onGrid(column, row)) return false;
    // Most corners of most fragments stand on empty cells: those are settled
    // here, small enough to be inlined at every corner.
    if (board.cells[column][row] == kEmptyCell) return false;
    return fragmentHits(fragment, board, CellRef{column, row});
}

}  // namespace

void stepMove(Piece& piece, Board&) {
    piece.x += piece.vx;
    piece.y += piece.vy;
}

void stepLeaveArea(Piece& piece, Board& board) {
    // Only the top-left point counts: a piece reaching over the right or
    // bottom edge stays until that point crosses it.
    std::int32_t px = pixelOf(piece.x);
    std::int32_t py = pixelOf(piece.y);
    const SDL_Rect& a = board.area;
    if (px < a.x || px >= a.x + a.w || py < a.y || py >= a.y + a.h) board.queueRemoval(piece);
}

void stepNormalPiece(Piece& piece, Board& board) {
    CellRef own = ownCellOf(piece, board);
    CellRef ahead = cellAheadOf(piece, board);
    if (!facesOccupiedCell(board, own, ahead)) return;

    std::uint8_t colour = piece.type;
    bool ownMatches = board.cell(own) == colour;
    if (ownMatches || board.cell(ahead) == colour) {
        // A piece that has drifted into a cell of its colour bursts there
        // rather than on the one ahead.
        board.cell(ownMatches ? own : ahead) = kEmptyCell;
        board.spawnBurst(piece, colour);
        startPlayerAttack(board);
        board.score += 1;
        board.charge += 1;
        requestSound(board, kSoundMatch);
    } else {
        // Sticks to the wall as a cell of its colour, over whatever it stood in.
        board.cell(own) = colour;
        requestSound(board, kSoundStick);
    }
    board.queueRemoval(piece);
}

void stepSpecialPiece(Piece& piece, Board& board) {
    CellRef own = ownCellOf(piece, board);
    CellRef ahead = cellAheadOf(piece, board);
    if (!facesOccupiedCell(board, own, ahead)) return;
    // Ploughs on through the whole row; only leaving the area ends it.
    board.cell(ahead) = kEmptyCell;
    board.spawnBurst(piece, kSpecial);
    board.score += 1;
}

void stepFragment(Piece& piece, Board& board) {
    // The four corners share two columns and two rows, each worked out once.
    const std::int32_t left = board.columnAt(pixelOf(piece.x));
    const std::int32_t right = board.columnAt(pixelOf(piece.x + kFragmentReach));
    const std::int32_t top = board.rowAt(pixelOf(piece.y));
    const std::int32_t bottom = board.rowAt(pixelOf(piece.y + kFragmentReach));
    // Corners in the order they are tried; the first one the fragment dies on ends it.
    if (fragmentDiesAt(piece, board, left, top) || fragmentDiesAt(piece, board, left, bottom) ||
        fragmentDiesAt(piece, board, right, top) || fragmentDiesAt(piece, board, right, bottom)) {
        board.queueRemoval(piece);
    }
}

void Board::spawnBurst(const Piece& piece, std::uint8_t fragmentType) {
    std::int32_t x = pixelOf(piece.x + kBurstOffsetX);
    std::int32_t y = pixelOf(piece.y + kBurstOffsetY);
    for (std::int32_t i = 0; i < kBurstSize; ++i) {
        // The angle step sits just below an eighth of a turn, so the left
        // and upward speeds come out at 14 rather than 15.
        double angle = i * kBurstAngleStep;
        auto speed = [](double component) {
            return static_cast<std::int32_t>(static_cast<float>(component * kBurstSpeed));
        };
        addPiece(new Piece(fragmentType, piece.texture, fragmentSteps, x, y, speed(std::cos(angle)),
                           speed(std::sin(angle)), kFragmentSize, kFragmentSize));
    }
}
