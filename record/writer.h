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
    FileIdentity identity;  // the file's identity after the writes
    std::size_t failed = 0; // on failure, the index of the write it concerns
    EntryLine line;         // writeRecord: the entry's new list line
};

// Stores texts (bytes of `codePage`) in place, all or nothing: checks every text first, saves the bytes each
// write will cover, writes them in order into the existing file, flushes it to disk
// once and reads every entry back. If anything fails once writing has begun, the
// saved bytes are put back (the file's length too) and the status says so; nothing is
// written when a check fails. With `expected`, the writes are refused unless the file
// is still the one with that identity, and undone if another file takes its name
// meanwhile. `fileTitle` (the name without folder) chooses the kind.
WriteResult writeEntries(const std::string& path, std::string_view fileTitle,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected = nullptr);

// One text at one key, as writeEntries does it.
WriteResult writeRecord(const std::string& path, std::string_view fileTitle, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected = nullptr);

} // namespace edt
