// Reading a whole file or nothing. (The game's random sequence and restoring
// its state are pinned by the replay digest and the render-reset test.)
#include <gtest/gtest.h>

#include <fstream>

#include "platform/file.h"
#include "support/canvas.h"

TEST(BinaryFiles, ReadWholeFileOrNothing) {
    testsupport::TempDir dir;
    std::ofstream(dir.file("three.bin"), std::ios::binary).write("\x01\x00\xff", 3);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::readBinaryFile(dir.file("three.bin"), bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 0, 255}));
    // A directory opens on some systems but never reads as a file; a file one
    // byte over the limit is refused whole. (Game paths with backslashes are
    // read by every figure test.)
    std::filesystem::resize_file(dir.file("three.bin"), platform::kMaxGameFileBytes + 1);
    for (const std::string& unreadable : {dir.file("missing.bin"), dir.path.string(), dir.file("three.bin")}) {
        SCOPED_TRACE(unreadable);
        EXPECT_FALSE(platform::readBinaryFile(unreadable, bytes));
        EXPECT_TRUE(bytes.empty());
    }
}
