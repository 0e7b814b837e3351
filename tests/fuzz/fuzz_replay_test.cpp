// Every input the fuzzers ever found a fault with stays here and is replayed
// by the ordinary suite, so a fixed fault cannot come back unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/figure_checks.h"

namespace {

std::vector<std::filesystem::path> inputsIn(const char* kind) {
    std::vector<std::filesystem::path> files;
    std::filesystem::path dir = std::filesystem::path(AMBER_FUZZ_CRASH_DIR) / kind;
    if (std::filesystem::exists(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.is_regular_file() && entry.path().filename() != ".keep") files.push_back(entry.path());
        }
    }
    return files;
}

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzFindings, RigInputsAreRefusedOrPlayedCleanly) {
    for (const auto& path : inputsIn("rig")) {
        SCOPED_TRACE(path.string());
        auto bytes = bytesOf(path);
        checkRigBytes(bytes.data(), bytes.size());
    }
}

TEST(FuzzFindings, ClipInputsAreRefusedOrPlayedCleanly) {
    for (const auto& path : inputsIn("clip")) {
        SCOPED_TRACE(path.string());
        auto bytes = bytesOf(path);
        checkClipBytes(bytes.data(), bytes.size());
    }
}

}  // namespace
