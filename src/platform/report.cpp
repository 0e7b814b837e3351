#include "platform/report.h"

#include <SDL.h>

#include <cstdio>

namespace platform {

void reportSdlError(const char* message) { std::printf("%s%s\n", message, SDL_GetError()); }

void reportError(const char* message, const std::string& detail) {
    std::printf("%s%s\n", message, detail.c_str());
}

}  // namespace platform
