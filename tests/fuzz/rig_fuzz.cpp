// libFuzzer entry for rig files.
#include "fuzz/figure_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkRigBytes(data, size);
    return 0;
}
