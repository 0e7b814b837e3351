#pragma once
// Game paths are written with the backslash separator ("resources\debug.bmp").
// Every file the game opens goes through nativePath so the same strings work on
// every platform.
#include <string>

namespace platform {

// Returns gamePath with every game separator (kGameSeparator, a backslash) turned into this platform's separator.
// Never fails; an empty path stays empty.
std::string nativePath(const std::string& gamePath);

}  // namespace platform
