// libFuzzer entry for clip files.
#include "fuzz/figure_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkClipBytes(data, size);
    return 0;
}
