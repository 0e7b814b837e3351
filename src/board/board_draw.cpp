#include "board/board.h"
#include "media/texture.h"

void Board::draw(SDL_Renderer*, Texture&, SDL_Rect a) {
    area = a;
    scrollOffset = scrollOffsetFor(frameCounter, shiftPeriod);
}
