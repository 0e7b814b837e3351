// Every test runs headless: SDL's dummy video and audio drivers unless the
// caller chose others, so the suite needs neither a display nor a sound card.
#include <SDL_stdinc.h>

namespace {

struct HeadlessDrivers {
    HeadlessDrivers() {
        // SDL's own setenv: the same call where the C library has none (MinGW).
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
} headlessDrivers;

}  // namespace
