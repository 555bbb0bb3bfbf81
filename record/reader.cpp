// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/reader.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "record/block_reader.h"
#include "record/text_codec.h"

namespace edt {
namespace {

constexpr std::uint64_t kBlockBytes = 1u << 20;
// Threads visitEntryBytesInParallel runs at most: the system's copy of the file and
// the callers' work scale no further than the memory's bandwidth.
constexpr std::size_t kMaxThreads = 4;

// Before an open file is listed: refuses one larger than kMaxListedFileSize.
// `identity` (optional) gets what `id` gets.
Status checkListable(const os::File& file, const std::string& path, FileIdentity& id,
                     FileIdentity* identity) {
    os::Result opened = file.identity(id);
    if (identity)
        *identity = id;
    if (!opened.ok())
        return Status::system(std::move(opened), path);
    if (id.size > kMaxListedFileSize) {
        Status status = Status::error(StatusCode::FileTooLarge, path);
        status.count = id.size;
        status.limit = kMaxListedFileSize;
        return status;
    }
    return Status::success();
}

} // namespace

Status visitEntryBytes(const os::File& file, const std::string& path, const FileKind& kind,
                       const EntryBytesVisitor& visit, FileIdentity* identity) {
    FileIdentity id;
    const Status opened = checkListable(file, path, id, identity);
    if (!opened.ok())
        return opened;

    const EntryLayout layout(kind, id.size);
    const std::uint64_t recordLength = static_cast<std::uint64_t>(kind.recordLength);
    const std::uint64_t perRecord = static_cast<std::uint64_t>(kind.entriesPerRecord());
    const std::uint64_t recordCount = (layout.entryCount() + perRecord - 1) / perRecord;
    // About a mebibyte of whole records per read: entries never straddle a block.
    const std::uint64_t recordsPerBlock = std::max<std::uint64_t>(1, kBlockBytes / recordLength);
    BlockReader reader(file, recordCount * recordLength,
                       static_cast<std::size_t>(recordsPerBlock * recordLength));

    std::uint64_t index = 0;
    BlockReader::Block block;
    os::Result read;
    while ((read = reader.next(block)).ok() && block.size != 0) {
        const std::uint64_t end =
            std::min(layout.entryCount(), (block.offset + block.size) / recordLength * perRecord);
        for (; index < end; ++index) {
            const std::uint64_t key = layout.keyOf(index);
            const std::size_t offset = static_cast<std::size_t>(key - 1 - block.offset);
            const std::size_t length = static_cast<std::size_t>(layout.lengthOf(index));
            visit(key, block.data + offset, length, length);
        }
    }
    return read.ok() ? Status::success() : Status::system(std::move(read), path);
}

std::size_t parallelSlots() {
    return 2 * std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMaxThreads);
}

Status visitEntryBytesInParallel(const os::File& file, const std::string& path,
                                 const FileKind& kind, std::size_t recordsPerBlock,
                                 const SlotEntryVisitor& visit, const SlotFinisher& finish,
                                 FileIdentity* identity) {
    FileIdentity id;
    const Status opened = checkListable(file, path, id, identity);
    if (!opened.ok())
        return opened;

    const EntryLayout layout(kind, id.size);
    const std::uint64_t recordLength = static_cast<std::uint64_t>(kind.recordLength);
    const std::uint64_t perRecord = static_cast<std::uint64_t>(kind.entriesPerRecord());
    const std::uint64_t blockLength = std::max<std::uint64_t>(1, recordsPerBlock) * recordLength;
    const std::uint64_t entriesPerBlock = blockLength / recordLength * perRecord;
    const std::uint64_t blockCount = (layout.entryCount() + entriesPerBlock - 1) / entriesPerBlock;
    const std::size_t slots = parallelSlots();

    // Blocks are taken in turn; block k is visited in slot k % slots, which it holds
    // until finished, and is finished once every block before it is. A thread takes a
    // block only while its slot is free, so at most `slots` blocks are ahead.
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t nextTaken = 0, nextFinished = 0;
    std::vector<char> visited(slots, 0);
    bool finishing = false;
    os::Result failure;
    const auto steps = [&] {
        std::unique_ptr<unsigned char[]> block;
        for (;;) {
            std::uint64_t k;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] {
                    return !failure.ok() || nextTaken >= blockCount ||
                           nextTaken < nextFinished + slots;
                });
                if (!failure.ok() || nextTaken >= blockCount)
                    return;
                k = nextTaken++;
            }
            const std::uint64_t offset = k * blockLength;
            const std::size_t want = static_cast<std::size_t>(std::min(
                blockLength,
                (layout.entryCount() + perRecord - 1) / perRecord * recordLength - offset));
            if (!block)
                block.reset(new unsigned char[static_cast<std::size_t>(blockLength)]);
            std::size_t got = 0;
            os::Result read = file.readAt(offset, block.get(), want, got);
            if (!read.ok()) {
                std::lock_guard<std::mutex> lock(mutex);
                failure = std::move(read);
                changed.notify_all();
                return;
            }
            // Past the end of the file (or of a file shortened meanwhile) bytes read as zero.
            std::memset(block.get() + got, 0, want - got);
            const std::size_t slot = static_cast<std::size_t>(k % slots);
            const std::uint64_t end = std::min(layout.entryCount(), (k + 1) * entriesPerBlock);
            for (std::uint64_t index = k * entriesPerBlock; index < end; ++index) {
                const std::uint64_t key = layout.keyOf(index);
                const std::size_t length = static_cast<std::size_t>(layout.lengthOf(index));
                visit(slot, index, key, block.get() + (key - 1 - offset), length, length);
            }
            std::unique_lock<std::mutex> lock(mutex);
            visited[slot] = 1;
            while (!finishing && failure.ok() && nextFinished < blockCount &&
                   visited[nextFinished % slots]) {
                const std::size_t done = static_cast<std::size_t>(nextFinished % slots);
                finishing = true;
                lock.unlock();
                finish(done);
                lock.lock();
                visited[done] = 0;
                ++nextFinished;
                finishing = false;
                changed.notify_all();
            }
        }
    };

    // Memory running out on any thread stops them all, as a failure to read.
    const auto work = [&] {
        try {
            steps();
        } catch (const std::bad_alloc&) {
            std::lock_guard<std::mutex> lock(mutex);
            failure = os::errnoFailure(os::Op::Read, ENOMEM);
            changed.notify_all();
        }
    };

    // A thread costs more than it saves on a file that takes a block or two.
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < slots / 2 && blockCount > 2; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: fewer do the work
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return failure.ok() ? Status::success() : Status::system(std::move(failure), path);
}

Status visitEntries(const os::File& file, const std::string& path, const FileKind& kind,
                    const EntryVisitor& visit, FileIdentity* identity) {
    std::vector<char> text(static_cast<std::size_t>(
        kind.isSplit() ? std::max(kind.firstFieldLength, kind.secondFieldLength)
                       : kind.recordLength));
    return visitEntryBytes(
        file, path, kind,
        [&](RecordKey key, const unsigned char* bytes, std::size_t available, std::size_t length) {
            const std::size_t size = decodeEntryTo(bytes, available, length, text.data());
            visit(key, std::string_view(text.data(), size));
        },
        identity);
}

ReadResult readFile(const os::File& file, const std::string& path, const FileKind& kind) {
    ReadResult result;
    result.kind = kind;
    try {
        result.status = visitEntries(
            file, path, result.kind,
            [&result](RecordKey key, std::string_view text) {
                result.entries.push_back({key, std::string(text)});
            },
            &result.identity);
    } catch (const std::bad_alloc&) {
        result.status = Status::error(StatusCode::OutOfMemory, path);
    }
    if (!result.status.ok())
        result.entries.clear();
    return result;
}

Status visitEntryBytes(const std::string& path, const FileKind& kind,
                       const EntryBytesVisitor& visit, FileIdentity* identity) {
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Read);
    return opened.ok() ? visitEntryBytes(file, path, kind, visit, identity)
                       : Status::system(opened, path);
}

Status visitEntryBytesInParallel(const std::string& path, const FileKind& kind,
                                 std::size_t recordsPerBlock, const SlotEntryVisitor& visit,
                                 const SlotFinisher& finish, FileIdentity* identity) {
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Read);
    return opened.ok() ? visitEntryBytesInParallel(file, path, kind, recordsPerBlock, visit, finish,
                                                   identity)
                       : Status::system(opened, path);
}

Status visitEntries(const std::string& path, const FileKind& kind, const EntryVisitor& visit,
                    FileIdentity* identity) {
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Read);
    return opened.ok() ? visitEntries(file, path, kind, visit, identity)
                       : Status::system(opened, path);
}

ReadResult readFile(const std::string& path, const FileKind& kind) {
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Read);
    if (opened.ok())
        return readFile(file, path, kind);
    ReadResult result;
    result.kind = kind;
    result.status = Status::system(opened, path);
    return result;
}

} // namespace edt
