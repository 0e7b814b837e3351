#pragma once
// Game paths are written with the backslash separator ("resources\debug.bmp").
// Every file the game opens goes through nativePath so the same strings work on
// every platform.
#include <string>

namespace platform {

// The game's separator as it appears in content paths.
inline constexpr char kGameSeparator = '\\';

// Returns gamePath with every backslash turned into this platform's separator.
// Never fails; an empty path stays empty.
std::string nativePath(const std::string& gamePath);

}  // namespace platform
