#include "record/reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "record/text_codec.h"

namespace edt {

std::vector<EntryLine> decodeEntries(const unsigned char* data, std::size_t size,
                                     const FileKind& kind) {
    const EntryLayout layout(kind, size);
    std::vector<EntryLine> entries;
    entries.reserve(static_cast<std::size_t>(layout.entryCount()));
    for (std::uint64_t i = 0; i < layout.entryCount(); ++i) {
        const std::uint64_t offset = layout.keyOf(i) - 1;
        const std::size_t available =
            offset < size ? static_cast<std::size_t>(size - offset) : std::size_t{0};
        entries.push_back(
            {layout.keyOf(i), decodeEntry(data + std::min<std::uint64_t>(offset, size), available,
                                          layout.lengthOf(i))});
    }
    return entries;
}

Status visitEntries(const std::string& path, const FileKind& kind, const EntryVisitor& visit,
                    FileIdentity* identity) {
    File file;
    Status status = file.open(path, File::Mode::Read);
    if (!status.ok())
        return status;
    FileIdentity id;
    status = file.identity(id);
    if (!status.ok())
        return status;
    if (identity)
        *identity = id;
    if (id.size > kMaxListedFileSize) {
        return Status::error(StatusCode::FileTooLarge,
                             "\"" + path + "\" is " + std::to_string(id.size) +
                                 " bytes long; EDT files of more than " +
                                 std::to_string(kMaxListedFileSize) +
                                 " bytes are not listed. Is it the right file?");
    }

    const EntryLayout layout(kind, id.size);
    const std::uint64_t recordLength = static_cast<std::uint64_t>(kind.recordLength);
    const std::uint64_t perRecord = static_cast<std::uint64_t>(kind.entriesPerRecord());
    const std::uint64_t recordCount = (layout.entryCount() + perRecord - 1) / perRecord;
    // About a mebibyte of whole records per read (less for a smaller file): entries
    // never straddle a block.
    const std::uint64_t recordsPerBlock =
        std::min(recordCount, std::max<std::uint64_t>(1, (1u << 20) / recordLength));

    std::vector<unsigned char> block(static_cast<std::size_t>(recordsPerBlock * recordLength));
    std::string text;
    std::uint64_t index = 0;
    for (std::uint64_t record = 0; record < recordCount; record += recordsPerBlock) {
        const std::uint64_t records = std::min(recordsPerBlock, recordCount - record);
        const std::size_t want = static_cast<std::size_t>(records * recordLength);
        std::size_t got = 0;
        status = file.readAt(record * recordLength, block.data(), want, got);
        if (!status.ok())
            return status;
        // Past the end of the file (or of a file shortened meanwhile) bytes read as zero.
        if (got < want)
            std::memset(block.data() + got, 0, want - got);
        const std::uint64_t end = std::min(layout.entryCount(), (record + records) * perRecord);
        for (; index < end; ++index) {
            const std::uint64_t key = layout.keyOf(index);
            const std::size_t offset = static_cast<std::size_t>(key - 1 - record * recordLength);
            const std::size_t length = static_cast<std::size_t>(layout.lengthOf(index));
            decodeEntryInto(block.data() + offset, length, length, text);
            visit(key, text);
        }
    }
    return Status::success();
}

ReadResult readFile(const std::string& path, std::string_view fileTitle) {
    ReadResult result;
    result.kind = kindForFileName(fileTitle);
    try {
        result.status = visitEntries(
            path, result.kind,
            [&result](RecordKey key, std::string_view text) {
                result.entries.push_back({key, std::string(text)});
            },
            &result.identity);
    } catch (const std::bad_alloc&) {
        result.status = Status::error(StatusCode::IoError,
                                      "There is not enough memory to list \"" + path + "\".");
    }
    if (!result.status.ok())
        result.entries.clear();
    return result;
}

} // namespace edt
