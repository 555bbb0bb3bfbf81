// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/open_file.h"

#include "record/journal.h"
#include "record/playback.h"
#include "record/text_codec.h"

namespace edt {
namespace {

// Undoes the first `count` changes and says so in `failure`, which concerns change
// number `failed`.
void undo(const os::File& file, const std::vector<Change>& changes, std::size_t count,
          std::uint64_t oldSize, std::size_t failed, Status& failure) {
    const PlayBack done = playBack(file, changes, count, oldSize);
    failure.alsoWritten = count - 1;
    failure.undoReason = done.failure;
    failure.undo = !done.failure.empty() ? Undo::Failed
                   : done.others > 0     ? Undo::AroundOthers
                                         : Undo::PutBack;
    failure.atKey(changes[failed].offset + 1);
}

// Releases, when it ends, a lock that a write took again.
class LockedFor {
public:
    LockedFor(OpenFile& file, bool held) : file_(file), held_(held) {}
    ~LockedFor() {
        if (!held_)
            file_.release();
    }

private:
    OpenFile& file_;
    bool held_;
};

} // namespace

Status OpenFile::open(const std::string& path, const FileKind& kind, StateFolder* state) {
    close();
    path_ = path;
    kind_ = kind;
    state_ = state;
    os::Result opened = file_.open(path, os::File::Mode::Update);
    if (!opened.ok()) {
        const os::Result reading = file_.open(path, os::File::Mode::Read);
        if (!reading.ok())
            return Status::system(reading, path);
        readOnly_ = opened.reason;
    }
    if (!file_.lock(kLockWaitMs)) {
        close();
        return Status::error(StatusCode::WriteLocked, path);
    }
    locked_ = true;
    note_ = playBackJournal();
    os::Result examined = file_.identity(identity_);
    if (!examined.ok()) {
        close();
        return Status::system(std::move(examined), path);
    }
    return Status::success();
}

void OpenFile::release() {
    if (locked_)
        file_.unlock();
    locked_ = false;
}

void OpenFile::close() {
    release();
    file_.close();
    identity_ = {};
    readOnly_.clear();
    note_.reset();
}

bool OpenFile::halfWritten() const {
    return note_ && (note_->code == StatusCode::JournalUnusable ||
                     note_->code == StatusCode::RollbackFailed);
}

std::optional<Status> OpenFile::playBackJournal() {
    if (!state_ || state_->journalFolder().empty())
        return std::nullopt;
    const Journal journal(state_->journalFolder(), path_);
    if (!journal.exists())
        return std::nullopt;
    if (!readOnly_.empty())
        return journal.unusable("the file cannot be opened for writing (" + readOnly_ + ")");
    return journal.recover(file_);
}

Status OpenFile::lockAgain() {
    if (!readOnly_.empty()) {
        // Made writable since it was opened: the same file, opened anew for writing.
        os::File writing;
        os::Result opened = writing.open(path_, os::File::Mode::Update);
        FileIdentity there;
        if (opened.ok())
            opened = writing.identity(there);
        if (!opened.ok())
            return Status::system(std::move(opened), path_);
        if (!there.sameFile(identity_))
            return Status::error(StatusCode::FileChanged, path_);
        release();
        file_ = std::move(writing);
        readOnly_.clear();
    }
    if (!locked_ && !file_.lock(kLockWaitMs))
        return Status::error(StatusCode::WriteLocked, path_);
    locked_ = true;
    return Status::success();
}

Status OpenFile::checkUnchanged() const {
    FileIdentity now, there;
    os::Result examined = file_.identity(now);
    if (!examined.ok())
        return Status::system(std::move(examined), path_);
    if (!os::identityAt(path_, there))
        return Status::error(StatusCode::FileRemoved, path_);
    if (!there.sameFile(now) || now != identity_)
        return Status::error(StatusCode::FileChanged, path_);
    return Status::success();
}

Status OpenFile::visitEntries(const EntryVisitor& visit) {
    return edt::visitEntries(file_, path_, kind_, visit, &identity_);
}

Status OpenFile::visitEntryBytes(const EntryBytesVisitor& visit) {
    return edt::visitEntryBytes(file_, path_, kind_, visit, &identity_);
}

Status OpenFile::visitEntryBytesInParallel(std::size_t recordsPerBlock,
                                           const SlotEntryVisitor& visit,
                                           const SlotFinisher& finish) {
    return edt::visitEntryBytesInParallel(file_, path_, kind_, recordsPerBlock, visit, finish,
                                          &identity_);
}

ReadResult OpenFile::read() {
    ReadResult result = readFile(file_, path_, kind_);
    identity_ = result.identity;
    return result;
}

WriteResult OpenFile::write(const std::vector<EntryWrite>& writes, const CodePage& codePage) {
    WriteResult result;
    const LockedFor lockedFor(*this, locked_);
    result.status = lockAgain();
    if (result.status.ok()) {
        if (std::optional<Status> said = playBackJournal()) {
            note_ = std::move(said);
            if (!halfWritten())
                result.notes.push_back(*note_);
        }
        result.status = halfWritten() ? *note_ : checkUnchanged();
    }
    for (std::size_t i = 0; result.status.ok() && i < writes.size(); ++i) {
        result.status =
            checkWrite(kind_, identity_.size, writes[i].key, writes[i].text, path_, codePage);
        result.failed = i;
    }
    std::vector<Change> changes(writes.size());
    for (std::size_t i = 0; result.status.ok() && i < writes.size(); ++i) {
        changes[i].offset = writes[i].key - 1;
        changes[i].after = encodeText(writes[i].text);
        os::Result read =
            os::readRange(file_, changes[i].offset, changes[i].after.size(), changes[i].before);
        if (!read.ok()) {
            result.status = Status::system(std::move(read), path_).atKey(writes[i].key);
            result.failed = i;
        }
    }
    if (result.status.ok() && writes.empty())
        result.identity = identity_;
    else if (result.status.ok())
        apply(changes, identity_.size, false, result);
    // A failure of the whole file concerns the entry, when there is one.
    if (writes.size() == 1 && !result.status.ok() && !result.status.key)
        result.status.atKey(writes[0].key);
    return result;
}

WriteResult OpenFile::writeRecord(RecordKey key, std::string_view text, const CodePage& codePage) {
    WriteResult result = write({{key, std::string(text)}}, codePage);
    if (result.status.ok())
        result.line = EntryLine{key, std::string(text)};
    return result;
}

WriteResult OpenFile::restore(const Backups::Copy& copy) {
    WriteResult result;
    std::vector<Change> changes(1);
    os::Result read = os::readWholeFile(copy.path, changes[0].after);
    if (!read.ok()) {
        result.status = Status::system(std::move(read), copy.path);
        return result;
    }
    const LockedFor lockedFor(*this, locked_);
    result.status = lockAgain();
    if (result.status.ok()) {
        if (std::optional<Status> said = playBackJournal())
            note_ = std::move(said);
        result.status = halfWritten() ? *note_ : checkUnchanged();
    }
    if (result.status.ok()) {
        read = os::readRange(file_, 0, static_cast<std::size_t>(identity_.size), changes[0].before);
        if (!read.ok())
            result.status = Status::system(std::move(read), path_);
    }
    if (result.status.ok())
        apply(changes, changes[0].after.size(), true, result);
    return result;
}

bool OpenFile::discardJournal() {
    if (!state_ || state_->journalFolder().empty())
        return false;
    const Journal journal(state_->journalFolder(), path_);
    if (!journal.exists())
        return false;
    journal.end();
    note_.reset();
    return true;
}

void OpenFile::apply(std::vector<Change>& changes, std::uint64_t newSize, bool backUpAgain,
                     WriteResult& result) {
    const FileIdentity before = identity_;
    std::optional<Journal> journal;
    if (state_) {
        if (state_->journalFolder().empty()) {
            result.status = Status::error(StatusCode::NoStateFolder, path_);
            return;
        }
        std::optional<Status> note;
        result.status = state_->backups().beforeWrite(file_, path_, note, backUpAgain);
        if (note)
            result.notes.push_back(std::move(*note));
        journal.emplace(state_->journalFolder(), path_);
        if (result.status.ok())
            result.status = journal->begin(before, changes);
        if (!result.status.ok())
            return;
    }
    // The journal goes once the file is flushed or wholly put back; when even putting
    // back failed it stays, for the next opening to play back.
    const auto finish = [&](bool settled) {
        if (journal && settled)
            journal->end();
        result.status.journalKept = journal && !settled;
        file_.identity(identity_);
        result.identity = identity_;
    };
    const auto undoAll = [&](StatusCode code, std::size_t failed) {
        result.status = Status::error(code, path_);
        undo(file_, changes, changes.size(), before.size, failed, result.status);
        result.failed = failed;
        finish(result.status.undo != Undo::Failed);
    };
    // Writes stop at the first failure, which may have stopped halfway: its bytes go
    // back too. A failure after the last write (flush, read-back, a file replaced
    // meanwhile) undoes them all.
    std::size_t written = 0;
    os::Result failure;
    while (written < changes.size() && failure.ok()) {
        const Change& change = changes[written++];
        failure = file_.writeAt(change.offset, change.after.data(), change.after.size());
    }
    if (failure.ok() && newSize < before.size)
        failure = file_.truncate(newSize);
    if (failure.ok())
        failure = file_.sync();
    std::string back;
    for (std::size_t i = 0; failure.ok() && i < changes.size(); ++i) {
        failure = os::readRange(file_, changes[i].offset, changes[i].after.size(), back);
        if (failure.ok() && back != changes[i].after)
            return undoAll(StatusCode::VerifyFailed, i);
    }
    FileIdentity now;
    if (failure.ok() && !(os::identityAt(path_, now) && now.sameFile(before)))
        return undoAll(StatusCode::FileChanged, changes.size() - 1);
    if (!failure.ok()) {
        result.status = Status::system(std::move(failure), path_);
        result.failed = written - 1;
        undo(file_, changes, written, before.size, written - 1, result.status);
        return finish(result.status.undo != Undo::Failed);
    }
    finish(true);
}

WriteResult writeEntries(const std::string& path, const FileKind& kind,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected) {
    OpenFile file;
    WriteResult result;
    FileIdentity there;
    result.status = file.open(path, kind, nullptr);
    if (!result.status.ok() && expected &&
        !(os::identityAt(path, there) && there.sameFile(*expected)))
        result.status = Status::error(StatusCode::FileRemoved, path);
    else if (result.status.ok() && expected && file.identity() != *expected)
        result.status = Status::error(StatusCode::FileChanged, path);
    if (result.status.ok())
        return file.write(writes, codePage);
    if (writes.size() == 1)
        result.status.atKey(writes[0].key);
    return result;
}

WriteResult writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected) {
    WriteResult result = writeEntries(path, kind, {{key, std::string(text)}}, codePage, expected);
    if (result.status.ok())
        result.line = EntryLine{key, std::string(text)};
    return result;
}

} // namespace edt
