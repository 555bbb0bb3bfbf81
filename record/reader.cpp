// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "record/block_reader.h"
#include "record/text_codec.h"

namespace edt {
namespace {

constexpr std::uint64_t kBlockBytes = 1u << 20;

} // namespace

Status visitEntryBytes(const std::string& path, const FileKind& kind,
                       const EntryBytesVisitor& visit, FileIdentity* identity) {
    os::File file;
    os::Result opened = file.open(path, os::File::Mode::Read);
    FileIdentity id;
    if (opened.ok())
        opened = file.identity(id);
    if (!opened.ok())
        return Status::system(std::move(opened), path);
    if (identity)
        *identity = id;
    if (id.size > kMaxListedFileSize) {
        Status status = Status::error(StatusCode::FileTooLarge, path);
        status.count = id.size;
        status.limit = kMaxListedFileSize;
        return status;
    }

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

Status visitEntries(const std::string& path, const FileKind& kind, const EntryVisitor& visit,
                    FileIdentity* identity) {
    std::vector<char> text(static_cast<std::size_t>(
        kind.isSplit() ? std::max(kind.firstFieldLength, kind.secondFieldLength)
                       : kind.recordLength));
    return visitEntryBytes(
        path, kind,
        [&](RecordKey key, const unsigned char* bytes, std::size_t available, std::size_t length) {
            const std::size_t size = decodeEntryTo(bytes, available, length, text.data());
            visit(key, std::string_view(text.data(), size));
        },
        identity);
}

ReadResult readFile(const std::string& path, const FileKind& kind) {
    ReadResult result;
    result.kind = kind;
    try {
        result.status = visitEntries(
            path, result.kind,
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

} // namespace edt
