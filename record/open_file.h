// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "record/backups.h"
#include "record/file_kind.h"
#include "record/journal.h"
#include "record/reader.h"
#include "record/state_folder.h"
#include "record/status.h"
#include "record/writer.h"

namespace edt {

// One EDT file as a program holds it, the only way the programs open, read and write
// one (docs/writes.md). Opening takes the file's write lock and, under it, plays back
// the journal of a write that was cut short; a journal that cannot be played back is
// kept, said in note(), and every write is refused until it can be played back or
// discardJournal() drops it. Reads keep the file's identity; a write checks under the lock
// that no other program changed the file since, copies it into the backups, writes
// and flushes its journal, writes and flushes the file, reads it back, and on any
// failure puts the old bytes back through the same playback that recovery uses.
class OpenFile {
public:
    OpenFile() = default;
    OpenFile(OpenFile&&) = default;
    OpenFile& operator=(OpenFile&&) = default;

    // Opens the file at `path`, of kind `kind`, for writing where the system allows it
    // and for reading otherwise (readOnly() says why), and holds its lock until
    // release() (a program that keeps the file open between its commands releases it,
    // so that others may write meanwhile). `state` (which must outlive this) holds
    // the journals and backups; without one nothing is journaled or backed up (tests).
    // Fails when the file cannot be opened, or another program holds its lock longer
    // than kLockWaitMs (WriteLocked).
    Status open(const std::string& path, const FileKind& kind, StateFolder* state);
    void release();
    void close();

    bool isOpen() const { return file_.isOpen(); }
    const std::string& path() const { return path_; }
    const FileKind& kind() const { return kind_; }
    // The file as last read or written through this object.
    const FileIdentity& identity() const { return identity_; }
    // Why the file cannot be written (the system's reason); empty when it can.
    const std::string& readOnly() const { return readOnly_; }
    // What opening found: an interrupted write rolled back (WriteRolledBack,
    // JournalDiscarded), or a journal kept that leaves the file half-written
    // (JournalUnusable, RollbackFailed). A front end says it before it shows the file.
    const std::optional<Status>& note() const { return note_; }
    // Whether note() leaves the file half-written: writes are refused with it.
    bool halfWritten() const;

    // The reader's functions on this file; each keeps the identity it read.
    Status visitEntries(const EntryVisitor& visit);
    Status visitEntryBytes(const EntryBytesVisitor& visit);
    Status visitEntryBytesInParallel(std::size_t recordsPerBlock, const SlotEntryVisitor& visit,
                                     const SlotFinisher& finish);
    ReadResult read();

    // Stores texts (bytes of `codePage`) in place, all or nothing: refused, nothing
    // written, when a check fails (writer.h: checkWrite), when the file was changed,
    // replaced or removed since it was last read or written here (FileChanged,
    // FileRemoved), or while a journal is kept (halfWritten()). A failure once
    // writing began is undone and the status says how (Status::undo). The notes say
    // what was done along the way (a backup too large to copy, a rollback).
    WriteResult write(const std::vector<EntryWrite>& writes, const CodePage& codePage);
    WriteResult writeRecord(RecordKey key, std::string_view text, const CodePage& codePage);
    // Makes the file hold a backup's content (its length too), after a copy of what
    // it holds now, as write() does; the file's kind does not matter.
    WriteResult restore(const Backups::Copy& copy);

    // Drops a kept journal, leaving the file as it is; false when there is none.
    bool discardJournal();

    // The writes of several open files as one, all or nothing across them (a folder's
    // import): every file is locked and checked before the first byte changes, and
    // nothing is written when any is refused (`failedFile` names it). Their journals
    // name one super-journal (journal.h), removed once every file is written and
    // flushed: a crash or a power cut leaves every file as it was or every file
    // written, as each is opened again. A failure midway puts back every file.
    struct FileWrites {
        OpenFile* file = nullptr;
        std::vector<EntryWrite> writes;
        const CodePage* codePage = nullptr;
    };
    struct TogetherResult {
        Status status;
        std::size_t failedFile = 0;
        std::vector<WriteResult> results; // one per file, as write() gives it
    };
    static TogetherResult writeTogether(const std::vector<FileWrites>& files);

private:
    Status lockAgain();
    Status checkUnchanged() const;
    std::optional<Status> playBackJournal();
    // The steps of a write (docs/writes.md): the lock, a rollback and the checks, with
    // the bytes each change covers; the backup and the journal; the bytes written,
    // flushed and read back (undone on failure); the journal removed once `settled`.
    bool prepare(const std::vector<EntryWrite>& writes, const CodePage& codePage,
                 std::vector<Change>& changes, WriteResult& result);
    bool beginJournal(const std::vector<Change>& changes, bool backUpAgain,
                      const std::string& super, WriteResult& result);
    bool applyChanges(const std::vector<Change>& changes, std::uint64_t newSize,
                      WriteResult& result);
    void finishWrite(bool settled, WriteResult& result);
    bool undoChanges(const std::vector<Change>& changes, std::size_t count, std::size_t failed,
                     WriteResult& result);
    // This file's journal in the state folder; none without a journal folder.
    std::optional<Journal> journal() const;

    os::File file_;
    std::string path_;
    FileKind kind_;
    StateFolder* state_ = nullptr;
    FileIdentity identity_;
    std::string readOnly_;
    std::optional<Status> note_;
    bool locked_ = false;
    FileIdentity before_;            // during a write: the file before it
    std::optional<Journal> journal_; // during a write: its journal
};

} // namespace edt
