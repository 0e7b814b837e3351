// Every input the fuzzers ever found a fault with stays here and is replayed
// by the ordinary suite, so a fixed fault cannot come back unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/figure_checks.h"

TEST(FuzzFindings, AreRefusedOrPlayedCleanly) {
    for (auto [kind, check] : {std::pair{"rig", &checkRigBytes}, {"clip", &checkClipBytes}}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(AMBER_FUZZ_CRASH_DIR) + "/" + kind)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            check(bytes.data(), bytes.size());
        }
    }
}
