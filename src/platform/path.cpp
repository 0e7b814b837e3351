#include "platform/path.h"

#include "media/content.h"

namespace platform {

std::string nativePath(const std::string& gamePath) {
#ifdef _WIN32
    return gamePath;
#else
    std::string native = gamePath;
    for (char& c : native) {
        if (c == kGameSeparator) c = '/';
    }
    return native;
#endif
}

}  // namespace platform
