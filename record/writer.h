// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/journal.h"
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

// What a write does around its bytes, with the file locked (SafeWriter: the rollback
// of an interrupted write, a backup copy and the journal).
class WriteSteps {
public:
    virtual ~WriteSteps() = default;
    // Before any check; a failed status refuses the write, any other is a note.
    virtual std::optional<Status> locked(const os::File& file) = 0;
    // After every check, before the first byte changes; a failure refuses the write.
    virtual Status beforeFirstByte(const os::File& file, const FileIdentity& before,
                                   const std::vector<Change>& changes,
                                   std::optional<Status>& note) = 0;
    // Once the bytes are flushed and read back or put back (`settled`), or when even
    // putting back failed.
    virtual void finished(bool settled) = 0;
};

// Stores texts (bytes of `codePage`) in place, all or nothing: locks the file for
// writing (WriteLocked after kLockWaitMs), checks every text, saves the bytes each
// write will cover, writes them in order into the existing file, flushes it to disk
// once and reads every entry back. If anything fails once writing has begun, the
// bytes that still hold what was written are put back (the file's length too) and
// the status says so; nothing is written when a check fails. With `expected`, the
// writes are refused unless the file is still the one with that identity (checked
// under the lock), and undone if another file takes its name meanwhile. The file is
// of kind `kind`. `steps`, when given, run around it.
WriteResult writeEntries(const std::string& path, const FileKind& kind,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected = nullptr, WriteSteps* steps = nullptr);

// One text at one key, as writeEntries does it.
WriteResult writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected = nullptr, WriteSteps* steps = nullptr);

// Makes the file at `path` hold `content` (its length too), in place and all or
// nothing as writeEntries: how a backup is put back.
WriteResult writeContent(const std::string& path, const std::string& content,
                         WriteSteps* steps = nullptr);

} // namespace edt
