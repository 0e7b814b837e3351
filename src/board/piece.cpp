#include "board/piece.h"

#include "board/board.h"

StepList normalPieceSteps;
StepList fragmentSteps;
StepList specialPieceSteps;

Piece::Piece(std::uint8_t t, Texture* tex, const StepList& list, std::int32_t px, std::int32_t py,
             std::int32_t pvx, std::int32_t pvy, std::int32_t w, std::int32_t h)
    : x(static_cast<float>(px)),
      y(static_cast<float>(py)),
      vx(static_cast<float>(pvx)),
      vy(static_cast<float>(pvy)),
      width(w),
      height(h),
      texture(tex),
      type(t),
      removed(0),
      steps(list) {}

void fillPieceStepLists() {
    // Filled, not appended to: a process may construct several Games.
    normalPieceSteps = {stepMove, stepLeaveArea, stepNormalPiece};
    fragmentSteps = {stepMove, stepLeaveArea, stepFragment};
    specialPieceSteps = {stepMove, stepLeaveArea, stepSpecialPiece};
}

