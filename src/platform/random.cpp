#include "platform/random.h"

namespace platform {

namespace {
std::uint32_t gState = kGameRandStartState;
}

int gameRand() {
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & 0x7FFFu);
}

std::uint32_t gameRandState() { return gState; }

void setGameRandState(std::uint32_t state) { gState = state; }

}  // namespace platform
