// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/file.h"

namespace edt {

// Reads the first `length` bytes of an open file block after block, in order, bytes
// past the end of the file reading as zero. On files of more than two blocks a helper
// thread reads up to two blocks ahead, so that the system's copy of the next block
// overlaps with the caller's work on this one. The file must stay open while the
// reader exists; the reader's methods are for one thread.
class BlockReader {
public:
    struct Block {
        const unsigned char* data = nullptr;
        std::size_t size = 0;     // 0 after the last block
        std::uint64_t offset = 0; // of data[0] in the file
    };

    BlockReader(const os::File& file, std::uint64_t length, std::size_t blockSize);
    ~BlockReader(); // stops the helper thread
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The next block; valid until the next call. A read error stops the reading.
    os::Result next(Block& block);

private:
    struct Slot {
        std::unique_ptr<unsigned char[]> data; // left uninitialised: reads fill it
        bool full = false;                     // read and not yet handed back by the caller
        os::Result status;
    };

    std::size_t blockLength(std::uint64_t index) const;
    os::Result readBlock(std::uint64_t index, Slot& slot) const;
    void readAhead();

    const os::File& file_;
    const std::uint64_t length_;
    const std::size_t blockSize_;
    const std::uint64_t blockCount_;
    std::uint64_t nextBlock_ = 0; // the caller's next block
    std::vector<Slot> slots_;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    std::thread helper_;
};

} // namespace edt
