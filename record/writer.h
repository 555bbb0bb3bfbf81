// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/status.h"

namespace edt {

using os::FileIdentity;

class CodePage;

// Checks, without touching any file, that `text` (bytes of `codePage`) can be written
// at `key` of a file of this kind and size: the key starts a listed entry, every
// character has a stored form, and text plus terminator fit the bytes of the entry
// the file holds (EntryLayout::presentOf: a write never changes a file's size).
// `path` names the file in the status.
Status checkWrite(const FileKind& kind, std::uint64_t fileSize, RecordKey key,
                  std::string_view text, const std::string& path, const CodePage& codePage);

// One text to store at the entry that starts at `key`.
struct EntryWrite {
    RecordKey key = 0;
    std::string text;
};

struct WriteResult {
    Status status;
    FileIdentity identity;     // the file's identity after the writes
    std::size_t failed = 0;    // on failure, the index of the write it concerns
    EntryLine line;            // writeRecord: the entry's new list line
    std::vector<Status> notes; // said along the way (an interrupted write rolled back ...)
};

// How long a writer waits for another program's write into the same file.
constexpr int kLockWaitMs = 2000;

// Stores texts (bytes of `codePage`) in place in the file at `path`, all or nothing, as
// OpenFile::write does but without journal or backup: for tests and benchmarks. With
// `expected`, refused unless the file is still the one with that identity.
WriteResult writeEntries(const std::string& path, const FileKind& kind,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected = nullptr);

// One text at one key, as writeEntries does it.
WriteResult writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected = nullptr);

} // namespace edt
