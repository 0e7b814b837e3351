#pragma once
// A bare board at the 640 x 480 layout, with no game behind it: no sounds
// are played and no figure is touched.
#include <gtest/gtest.h>

#include "board/board.h"
#include "platform/random.h"

inline constexpr std::uint8_t kRed = 2;
inline constexpr std::uint8_t kBlue = 3;

struct BareBoard : ::testing::Test {
    static constexpr SDL_Rect kArea{32, 256, 576, 192};
    Board board{nullptr, 4};

    BareBoard() {
        fillPieceStepLists();
        board.area = kArea;
    }

    // Screen point of a cell's top-left corner at the current scroll offset.
    std::int32_t columnX(std::int32_t col) const { return board.area.x - board.scrollOffset + kCellSize * col; }
    std::int32_t rowY(std::int32_t row) const { return board.area.y + kCellSize * row; }
    std::uint8_t& at(std::int32_t col, std::int32_t row) { return board.cells[col][row]; }
};
