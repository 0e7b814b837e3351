// Every test runs headless: SDL's dummy video and audio drivers unless the
// caller chose others, so the suite needs neither a display nor a sound card.
#include <cstdlib>

namespace {

struct HeadlessDrivers {
    HeadlessDrivers() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
} headlessDrivers;

}  // namespace
