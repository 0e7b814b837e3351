#pragma once
// The game's error lines on standard output: one line each, "<what>! : <why>\n",
// no explicit flush.
#include <string>

namespace platform {

// Writes message (which ends in ": ") followed by SDL_GetError() and a line feed.
void reportSdlError(const char* message);

// Writes message followed by detail and a line feed.
void reportError(const char* message, const std::string& detail);

}  // namespace platform
