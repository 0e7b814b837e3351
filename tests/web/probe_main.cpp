// The browser game as the end-to-end test plays it: the page's own entry,
// word for word, plus read-only probes of the game's state that the test
// cannot see in the picture. Built beside the release (build-web/test/probe/)
// and served in its place to the test's pages only; players never get it.
#include "app/main_web.cpp"

namespace {

// The leftmost filled cell of a row, or kEmptyCell for a row with none.
std::uint8_t frontCell(const Board& board, std::int32_t row) {
    for (std::int32_t column = 0; column < board.columnCount; ++column) {
        if (board.cells[column][row] != kEmptyCell) return board.cells[column][row];
    }
    return kEmptyCell;
}

}  // namespace

extern "C" {
// Updates run since the page started.
EMSCRIPTEN_KEEPALIVE double amber_frames() { return framesRun; }
// The board row of the piece fired last that is still in flight, or -1.
EMSCRIPTEN_KEEPALIVE int amber_newest_piece_row() {
    if (!app.game || app.game->board->pieces.empty()) return -1;
    return app.game->board->rowAt(static_cast<std::int32_t>(app.game->board->pieces.back()->y));
}
// 1 while the game holds the right button down, else 0.
EMSCRIPTEN_KEEPALIVE int amber_right_held() { return app.game && app.game->rightMouse.held ? 1 : 0; }
// A row where the piece about to be fired bursts the wall's front cell, or -1
// when no row's front cell has its colour. Lets the test charge the special
// shot by play that never loses, whatever colours the game deals.
EMSCRIPTEN_KEEPALIVE int amber_matching_row() {
    if (!app.game) return -1;
    const Board& board = *app.game->board;
    for (std::int32_t row = 0; row < board.rowCount; ++row) {
        if (frontCell(board, row) == board.currentColour) return row;
    }
    return -1;
}
}
