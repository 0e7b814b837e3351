#include "platform/file.h"

#include <cstdio>

#include "platform/path.h"

namespace platform {

bool readBinaryFile(const std::string& gamePath, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(nativePath(gamePath).c_str(), "rb");
    if (!file) return false;
    std::uint8_t chunk[4096];
    bool ok = true;
    for (;;) {
        std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (bytes.size() + got > kMaxGameFileBytes) {
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace platform
