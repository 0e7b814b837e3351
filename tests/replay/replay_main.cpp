// Prints the scripted game's digest, so that a build for another platform can
// be compared with the native one.
#include <cinttypes>
#include <cstdio>

#include "replay/scripted_game.h"

int main(int, char**) {
    ScriptedGameResult r = playScriptedGame(6000);
    std::printf("replay digest 0x%016" PRIx64 " score %d broken %d\n", r.digest, r.score, r.brokenAt);
    return r.brokenAt < 0 ? 0 : 1;
}
