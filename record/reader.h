// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/status.h"

namespace edt {

using os::FileIdentity;

// Files larger than this are not listed: EDT files are far smaller, and a list of
// every entry of a larger one would not fit in memory.
constexpr std::uint64_t kMaxListedFileSize = std::uint64_t{1} << 30;

// Called once per entry, in file order; the text is valid during the call only.
using EntryVisitor = std::function<void(RecordKey key, std::string_view text)>;

// Called once per entry, in file order, with its stored bytes: the first `available`
// of the entry's `length` bytes (the rest read as zero); valid during the call only.
using EntryBytesVisitor = std::function<void(RecordKey key, const unsigned char* bytes,
                                             std::size_t available, std::size_t length)>;

// Reading a file open for reading (OpenFile opens it as programs do: locked, an
// interrupted write rolled back first); `path` names it in statuses. Each function
// also has a form that opens `path` plainly, for tests and benchmarks.

// As visitEntries, but hands over each entry undecoded, for readers that decode in
// their own way (the listing decodes and escapes in one pass).
Status visitEntryBytes(const os::File& file, const std::string& path, const FileKind& kind,
                       const EntryBytesVisitor& visit, FileIdentity* identity = nullptr);
Status visitEntryBytes(const std::string& path, const FileKind& kind,
                       const EntryBytesVisitor& visit, FileIdentity* identity = nullptr);

// What visitEntryBytesInParallel calls: the entry numbered `index` (from 0, in file
// order) of a block held in `slot`, on any of its threads; and, once every entry of
// the block a slot holds is visited, `finish` for that slot, for the blocks in file
// order and one at a time. A slot is one thread's from the first visit of a block to
// its finish.
using SlotEntryVisitor =
    std::function<void(std::size_t slot, std::uint64_t index, RecordKey key,
                       const unsigned char* bytes, std::size_t available, std::size_t length)>;
using SlotFinisher = std::function<void(std::size_t slot)>;

// The slots visitEntryBytesInParallel uses on this machine (twice its threads).
std::size_t parallelSlots();

// As visitEntryBytes, on several threads for a large file: the file is read in blocks
// of `recordsPerBlock` records, each read and visited by one thread, so that the
// system's copy of the file and the callers' work on it run on every core. The blocks
// are finished in order: what a caller gathers per slot is written out there.
Status visitEntryBytesInParallel(const os::File& file, const std::string& path,
                                 const FileKind& kind, std::size_t recordsPerBlock,
                                 const SlotEntryVisitor& visit, const SlotFinisher& finish,
                                 FileIdentity* identity = nullptr);
Status visitEntryBytesInParallel(const std::string& path, const FileKind& kind,
                                 std::size_t recordsPerBlock, const SlotEntryVisitor& visit,
                                 const SlotFinisher& finish, FileIdentity* identity = nullptr);

// Reads the file in large blocks and visits every entry. Refuses files larger than
// kMaxListedFileSize (FileTooLarge). `identity` (optional) gets
// the identity of the file as it was read.
Status visitEntries(const os::File& file, const std::string& path, const FileKind& kind,
                    const EntryVisitor& visit, FileIdentity* identity = nullptr);
Status visitEntries(const std::string& path, const FileKind& kind, const EntryVisitor& visit,
                    FileIdentity* identity = nullptr);

struct ReadResult {
    Status status;
    FileKind kind; // the kind it was read as, even when reading failed
    std::vector<EntryLine> entries;
    FileIdentity identity;
};

// Lists a file of the given kind.
ReadResult readFile(const os::File& file, const std::string& path, const FileKind& kind);
ReadResult readFile(const std::string& path, const FileKind& kind);

} // namespace edt
