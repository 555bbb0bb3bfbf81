// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/open_file.h"

#include <deque>

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

std::optional<Journal> OpenFile::journal() const {
    if (!state_ || state_->journalFolder().empty())
        return std::nullopt;
    return Journal(state_->journalFolder(), path_);
}

std::optional<Status> OpenFile::playBackJournal() {
    const std::optional<Journal> journal = this->journal();
    if (!journal || !journal->exists())
        return std::nullopt;
    if (!readOnly_.empty())
        return journal->unusable("the file cannot be opened for writing (" + readOnly_ + ")");
    return journal->recover(file_);
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

bool OpenFile::prepare(const std::vector<EntryWrite>& writes, const CodePage& codePage,
                       std::vector<Change>& changes, WriteResult& result) {
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
    changes.assign(writes.size(), Change{});
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
    // A failure of the whole file concerns the entry, when there is one.
    if (writes.size() == 1 && !result.status.ok() && !result.status.key)
        result.status.atKey(writes[0].key);
    return result.status.ok();
}

WriteResult OpenFile::write(const std::vector<EntryWrite>& writes, const CodePage& codePage) {
    WriteResult result;
    const LockedFor lockedFor(*this, locked_);
    std::vector<Change> changes;
    if (!prepare(writes, codePage, changes, result))
        return result;
    if (writes.empty())
        result.identity = identity_;
    else if (beginJournal(changes, false, {}, result) &&
             applyChanges(changes, identity_.size, result))
        finishWrite(true, result);
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
    if (result.status.ok() && beginJournal(changes, true, {}, result) &&
        applyChanges(changes, changes[0].after.size(), result))
        finishWrite(true, result);
    return result;
}

bool OpenFile::discardJournal() {
    const std::optional<Journal> journal = this->journal();
    if (!journal || !journal->exists())
        return false;
    journal->end();
    note_.reset();
    return true;
}

bool OpenFile::beginJournal(const std::vector<Change>& changes, bool backUpAgain,
                            const std::string& super, WriteResult& result) {
    before_ = identity_;
    journal_ = journal();
    if (!state_)
        return true;
    if (!journal_) {
        result.status = Status::error(StatusCode::NoStateFolder, path_);
        return false;
    }
    std::optional<Status> note;
    result.status = state_->backups().beforeWrite(file_, path_, note, backUpAgain);
    if (note)
        result.notes.push_back(std::move(*note));
    if (result.status.ok())
        result.status = journal_->begin(before_, changes, super);
    if (!result.status.ok())
        journal_.reset();
    return result.status.ok();
}

void OpenFile::finishWrite(bool settled, WriteResult& result) {
    if (journal_ && settled)
        journal_->end();
    result.status.journalKept = journal_ && !settled;
    journal_.reset();
    file_.identity(identity_);
    result.identity = identity_;
}

bool OpenFile::undoChanges(const std::vector<Change>& changes, std::size_t count,
                           std::size_t failed, WriteResult& result) {
    undo(file_, changes, count, before_.size, failed, result.status);
    return result.status.undo != Undo::Failed;
}

bool OpenFile::applyChanges(const std::vector<Change>& changes, std::uint64_t newSize,
                            WriteResult& result) {
    const FileIdentity& before = before_;
    const auto undoAll = [&](StatusCode code, std::size_t failed) {
        result.status = Status::error(code, path_);
        result.failed = failed;
        finishWrite(undoChanges(changes, changes.size(), failed, result), result);
        return false;
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
        finishWrite(undoChanges(changes, written, written - 1, result), result);
        return false;
    }
    return true;
}

OpenFile::TogetherResult OpenFile::writeTogether(const std::vector<FileWrites>& files) {
    TogetherResult out;
    out.results.resize(files.size());
    std::vector<std::vector<Change>> changes(files.size());
    std::deque<LockedFor> locks; // each file's lock, taken again where it was let go
    const auto refused = [&](std::size_t i) {
        out.status = out.results[i].status;
        out.failedFile = i;
        return out;
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        OpenFile& file = *files[i].file;
        locks.emplace_back(file, file.locked_);
        if (!file.prepare(files[i].writes, *files[i].codePage, changes[i], out.results[i]))
            return refused(i);
    }
    StateFolder* state = files.empty() ? nullptr : files[0].file->state_;
    SuperJournal super;
    const bool tied = state && !state->journalFolder().empty() && files.size() > 1;
    if (tied) {
        std::vector<std::string> journals;
        for (const FileWrites& each : files) {
            const std::optional<Journal> journal = each.file->journal();
            journals.push_back(journal ? journal->path() : std::string());
        }
        out.status = SuperJournal::begin(state->journalFolder(), journals, super);
        if (!out.status.ok())
            return out;
    }
    std::size_t begun = 0, applied = 0;
    while (begun < files.size() &&
           files[begun].file->beginJournal(changes[begun], false, tied ? super.name() : "",
                                           out.results[begun]))
        ++begun;
    while (begun == files.size() && applied < files.size() &&
           files[applied].file->applyChanges(changes[applied], files[applied].file->before_.size,
                                             out.results[applied]))
        ++applied;
    if (applied == files.size()) {
        if (tied)
            super.end(); // the moment the write is done in every file
        for (std::size_t i = 0; i < files.size(); ++i)
            files[i].file->finishWrite(true, out.results[i]);
        return out;
    }
    // The file that failed put back its own bytes; those written before it go back now.
    const std::size_t failed = begun < files.size() ? begun : applied;
    refused(failed);
    bool settled = out.status.undo != Undo::Failed;
    for (std::size_t i = 0; i < begun; ++i) {
        if (i == failed)
            continue;
        WriteResult& result = out.results[i];
        bool back = true;
        if (i < applied) {
            result.status = Status::error(StatusCode::WriteRolledBack, files[i].file->path_);
            back = files[i].file->undoChanges(changes[i], changes[i].size(), changes[i].size() - 1,
                                              result);
            if (!back && out.status.undo != Undo::Failed) {
                out.status.undo = Undo::Failed;
                out.status.undoReason = result.status.undoReason;
            }
        }
        files[i].file->finishWrite(back, result);
        settled = settled && back;
    }
    out.status.journalKept = !settled;
    if (tied && settled)
        super.end();
    return out;
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
