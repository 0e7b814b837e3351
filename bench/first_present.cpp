// Preloaded into the real game by amber-startup (LD_PRELOAD): on the game's
// first SDL_RenderPresent it writes the monotonic clock, in nanoseconds, to
// the pipe named by AMBER_FIRST_PRESENT_FD, then lets every present through.
// The game itself is not changed and reads no variable of its own.
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using PresentCall = void (*)(SDL_Renderer*);

bool presentedBefore = false;

void reportFirstPresent() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* fdText = std::getenv("AMBER_FIRST_PRESENT_FD");
    if (!fdText) return;
    const int fd = std::atoi(fdText);
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%lld\n",
                                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (write(fd, line, static_cast<size_t>(length)) < 0) return;
    close(fd);
}

}  // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    static const auto realPresent = reinterpret_cast<PresentCall>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    realPresent(renderer);
    if (!presentedBefore) {
        presentedBefore = true;
        reportFirstPresent();
    }
}
