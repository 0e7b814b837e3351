// Every test runs headless: SDL's dummy video and audio drivers unless the
// caller chose others, so the suite needs neither a display nor a sound card.
#include <SDL_stdinc.h>

// SDL's own setenv: the same call where the C library has none (MinGW).
[[maybe_unused]] static const int headlessDrivers =
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 0) + SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
