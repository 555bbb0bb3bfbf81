// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/backups.h"
#include "record/writer.h"

namespace edt {

// How programs write into a file: back up, journal, lock, write, in one call. Each
// write locks the file, rolls back an interrupted write found in the journals, checks,
// copies the file into the backups (the first time in a run), writes the journal of
// its changes and flushes it, writes and flushes the file, then removes the journal
// (docs/writes.md). Without a folder for the journals every write is refused.
class SafeWriter {
public:
    SafeWriter(Backups backups, std::string journalFolder)
        : backups_(std::move(backups)), journals_(std::move(journalFolder)) {}
    // In the user's state folder ($XDG_STATE_HOME/edt-editor/journals ...), copies as
    // Backups::forUser has them.
    static SafeWriter forUser(bool noBackup);

    Backups& backups() { return backups_; }
    const std::string& journalFolder() const { return journals_; }

    // writeEntries and writeRecord with these steps; notes in the result.
    WriteResult write(const std::string& path, const FileKind& kind,
                      const std::vector<EntryWrite>& writes, const CodePage& codePage,
                      const FileIdentity* expected = nullptr);
    WriteResult writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                            std::string_view text, const CodePage& codePage,
                            const FileIdentity* expected = nullptr);
    // Puts a backup's content back into the file, after a copy of what it holds now.
    WriteResult restore(const std::string& path, const Backups::Copy& copy);

    // Before a program reads the file at `path`: rolls back a write into it that was
    // interrupted and says so; nothing when there is none. A journal that cannot be
    // played back now (not to be trusted, the file read-only, another program writing
    // it) is kept and named (JournalUnusable): the file may be half-written.
    std::optional<Status> recover(const std::string& path) const;
    // Removes the journal of the file at `path` that cannot be played back, leaving the
    // file as it is; false when there was none.
    bool discardJournal(const std::string& path) const;

private:
    Backups backups_;
    std::string journals_;
};

} // namespace edt
