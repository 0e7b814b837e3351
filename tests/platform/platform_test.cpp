#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/random.h"

namespace {

TEST(RandomSequence, MatchesTheGameWallOnEveryPlatform) {
    platform::setGameRandState(platform::kGameRandStartState);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(platform::gameRand(), value);
    // Restarting from a saved state replays the same values.
    std::uint32_t saved = platform::gameRandState();
    int a = platform::gameRand();
    int b = platform::gameRand();
    platform::setGameRandState(saved);
    EXPECT_EQ(platform::gameRand(), a);
    EXPECT_EQ(platform::gameRand(), b);
    platform::setGameRandState(platform::kGameRandStartState);
}

TEST(GamePaths, BackslashesBecomeNativeSeparators) {
#ifndef _WIN32
    EXPECT_EQ(platform::nativePath("resources\\wendle\\body.jrig"), "resources/wendle/body.jrig");
    EXPECT_EQ(platform::nativePath("plain"), "plain");
    EXPECT_EQ(platform::nativePath(""), "");
#endif
}

TEST(BinaryFiles, ReadWholeFileOrNothing) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "amber-platform-test";
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "three.bin", std::ios::binary);
        out.write("\x01\x00\xff", 3);
    }
    std::vector<std::uint8_t> bytes{9, 9};
    ASSERT_TRUE(platform::readBinaryFile((dir / "three.bin").string(), bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 0, 255}));
    EXPECT_FALSE(platform::readBinaryFile((dir / "missing.bin").string(), bytes));
    EXPECT_TRUE(bytes.empty());
    // A directory opens on some systems but is not a file the game can use.
    EXPECT_FALSE(platform::readBinaryFile(dir.string(), bytes) && !bytes.empty());
    fs::remove_all(dir);
}

}  // namespace
