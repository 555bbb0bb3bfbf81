// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/block_reader.h"
#include "tests/support/test_support.h"

namespace edt {
namespace {

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(1 + (i * 7 + i / 251) % 255);
    return bytes;
}

// Everything the reader hands out, checking that blocks come in order and whole.
std::string readAll(const std::string& path, std::uint64_t length, std::size_t blockSize) {
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Read);
    EXPECT_TRUE(opened.ok()) << opened.reason;
    BlockReader reader(file, length, blockSize);
    std::string all;
    BlockReader::Block block;
    while (true) {
        const os::Result status = reader.next(block);
        EXPECT_TRUE(status.ok()) << status.reason;
        if (!status.ok() || block.size == 0)
            break;
        EXPECT_EQ(block.offset, all.size());
        EXPECT_TRUE(block.size == blockSize || block.offset + block.size == length);
        all.append(reinterpret_cast<const char*>(block.data), block.size);
    }
    return all;
}

TEST(BlockReader, HandsOutTheFileInOrderWithZerosPastItsEnd) {
    test::TempDir dir;
    const std::string path = dir.file("data.edt");
    const std::string bytes = pattern(100000);
    test::writeBytes(path, bytes);
    // One block, two (read on the caller's thread), several and many (read ahead),
    // blocks that divide the length and blocks that do not.
    for (std::size_t blockSize : {200000, 50000, 60000, 30000, 4096, 97}) {
        SCOPED_TRACE("block " + std::to_string(blockSize));
        EXPECT_TRUE(readAll(path, bytes.size(), blockSize) == bytes);
        // Asked for more than the file holds (a file shortened meanwhile, or the
        // last record cut short): the rest reads as zero.
        EXPECT_TRUE(readAll(path, bytes.size() + 12345, blockSize) ==
                    bytes + std::string(12345, '\0'));
        EXPECT_TRUE(readAll(path, 777, blockSize) == bytes.substr(0, 777));
    }
    EXPECT_EQ(readAll(path, 0, 4096), "");
}

TEST(BlockReader, StopsCleanlyWhenTheCallerStopsEarly) {
    test::TempDir dir;
    const std::string path = dir.file("data.edt");
    test::writeBytes(path, pattern(1 << 20));
    os::File file;
    ASSERT_TRUE(file.open(path, os::File::Mode::Read).ok());
    for (int taken = 0; taken < 4; ++taken) {
        BlockReader reader(file, 1 << 20, 1000); // the helper runs ahead, then waits
        BlockReader::Block block;
        for (int i = 0; i < taken; ++i) {
            ASSERT_TRUE(reader.next(block).ok());
            EXPECT_EQ(block.offset, static_cast<std::uint64_t>(i) * 1000);
        }
    } // destroying the reader must not hang
}

} // namespace
} // namespace edt
