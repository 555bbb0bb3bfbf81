// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/block_reader.h"

#include <cstring>
#include <system_error>

namespace edt {
namespace {

// Slots the helper fills in turn: the caller's block and two read ahead.
constexpr std::size_t kSlots = 3;

} // namespace

BlockReader::BlockReader(const os::File& file, std::uint64_t length, std::size_t blockSize)
    : file_(file), length_(length), blockSize_(blockSize),
      blockCount_((length + blockSize - 1) / blockSize) {
    // A thread costs more than it saves on a file that takes a read or two.
    const bool ahead = blockCount_ > 2;
    slots_.resize(ahead ? kSlots : 1);
    for (Slot& slot : slots_)
        slot.data.reset(new unsigned char[static_cast<std::size_t>(
            std::min<std::uint64_t>(blockSize, length))]);
    if (ahead) {
        try {
            helper_ = std::thread(&BlockReader::readAhead, this);
        } catch (const std::system_error&) {
            // No thread to be had: read on the caller's thread instead.
        }
    }
}

BlockReader::~BlockReader() {
    if (!helper_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    helper_.join();
}

std::size_t BlockReader::blockLength(std::uint64_t index) const {
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(blockSize_, length_ - index * blockSize_));
}

os::Result BlockReader::readBlock(std::uint64_t index, Slot& slot) const {
    const std::size_t want = blockLength(index);
    std::size_t got = 0;
    os::Result status = file_.readAt(index * blockSize_, slot.data.get(), want, got);
    // Past the end of the file (or of a file shortened meanwhile) bytes read as zero.
    if (status.ok() && got < want)
        std::memset(slot.data.get() + got, 0, want - got);
    return status;
}

void BlockReader::readAhead() {
    for (std::uint64_t index = 0; index < blockCount_; ++index) {
        Slot& slot = slots_[index % kSlots];
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !slot.full; });
            if (stop_)
                return;
        }
        // The slot is the helper's until it is marked full.
        os::Result status = readBlock(index, slot);
        const bool failed = !status.ok();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            slot.status = std::move(status);
            slot.full = true;
        }
        changed_.notify_all();
        if (failed)
            return;
    }
}

os::Result BlockReader::next(Block& block) {
    block = Block{};
    if (!helper_.joinable()) {
        if (nextBlock_ >= blockCount_)
            return os::Result::success();
        os::Result status = readBlock(nextBlock_, slots_[0]);
        if (!status.ok())
            return status;
        block = {slots_[0].data.get(), blockLength(nextBlock_), nextBlock_ * blockSize_};
        ++nextBlock_;
        return os::Result::success();
    }

    std::unique_lock<std::mutex> lock(mutex_);
    if (nextBlock_ > 0) { // hand the previous block back to the helper
        slots_[(nextBlock_ - 1) % kSlots].full = false;
        changed_.notify_all();
    }
    if (nextBlock_ >= blockCount_)
        return os::Result::success();
    Slot& slot = slots_[nextBlock_ % kSlots];
    changed_.wait(lock, [&] { return slot.full; });
    if (!slot.status.ok())
        return slot.status;
    block = {slot.data.get(), blockLength(nextBlock_), nextBlock_ * blockSize_};
    ++nextBlock_;
    return os::Result::success();
}

} // namespace edt
