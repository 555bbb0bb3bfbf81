// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/writer.h"

#include <algorithm>

#include "record/playback.h"
#include "record/text_codec.h"

namespace edt {

Status checkWrite(const FileKind& kind, std::uint64_t fileSize, RecordKey key,
                  std::string_view text, const std::string& path, const CodePage& codePage) {
    const EntryLayout layout(kind, fileSize);
    const std::int64_t index = layout.indexOfKey(key);
    if (index < 0)
        return Status::error(StatusCode::BadKey, path).atKey(key);
    Status status = checkStorable(text, codePage);
    if (!status.ok()) {
        status.path = path;
        return status.atKey(key);
    }
    const int length = layout.lengthOf(static_cast<std::uint64_t>(index));
    const int present = layout.presentOf(static_cast<std::uint64_t>(index));
    if (present < 4) { // not even an empty text's terminator
        status = Status::error(StatusCode::EntryPastEnd, path).atKey(key);
        status.count = fileSize;
        return status;
    }
    if (static_cast<std::uint64_t>(text.size()) * 2 + 4 > static_cast<std::uint64_t>(present)) {
        status = Status::error(present < length ? StatusCode::EntryCutOff : StatusCode::TextTooLong,
                               path)
                     .atKey(key);
        status.count = text.size();
        status.limit = static_cast<std::uint64_t>(maxCharsForEntry(present));
        status.entryBytes = present;
        status.detail = std::to_string(length);
    }
    return status;
}

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

// Opens and locks the file for writing; false with the refusal in `result`.
bool openLocked(const std::string& path, const FileIdentity* expected, os::File& file,
                WriteResult& result) {
    os::Result opened = file.open(path, os::File::Mode::Update);
    if (!opened.ok()) {
        FileIdentity now;
        result.status = expected && !(os::identityAt(path, now) && now.sameFile(*expected))
                            ? Status::error(StatusCode::FileRemoved, path)
                            : Status::system(std::move(opened), path);
        return false;
    }
    if (!file.lock(kLockWaitMs)) {
        result.status = Status::error(StatusCode::WriteLocked, path);
        return false;
    }
    return true;
}

// With the file open and locked, from the steps' start to the identity check.
bool begin(const os::File& file, const std::string& path, const FileIdentity* expected,
           WriteSteps* steps, FileIdentity& before, WriteResult& result) {
    if (steps) {
        if (std::optional<Status> said = steps->locked(file)) {
            if (said->code == StatusCode::RollbackFailed ||
                said->code == StatusCode::JournalUnusable) {
                result.status = std::move(*said);
                return false;
            }
            result.notes.push_back(std::move(*said));
        }
    }
    os::Result examined = file.identity(before);
    if (!examined.ok()) {
        result.status = Status::system(std::move(examined), path);
        return false;
    }
    if (expected && *expected != before) {
        result.status = Status::error(StatusCode::FileChanged, path);
        return false;
    }
    return true;
}

// Writes the changes after the steps' last check: in order, then one flush, then
// everything read back; undone when any of it fails. `newSize`, when smaller than the
// file, is the length it gets.
void apply(const os::File& file, const std::string& path, const FileIdentity& before,
           const std::vector<Change>& changes, std::uint64_t newSize, const FileIdentity* expected,
           WriteSteps* steps, WriteResult& result) {
    if (steps) {
        std::optional<Status> note;
        result.status = steps->beforeFirstByte(file, before, changes, note);
        if (note)
            result.notes.push_back(std::move(*note));
        if (!result.status.ok())
            return;
    }
    const auto finish = [&](bool settled) {
        if (steps)
            steps->finished(settled);
        result.status.journalKept = steps && !settled;
    };
    // Writes stop at the first failure, which may have stopped halfway: its bytes go
    // back too. A failure after the last write (flush, read-back, a file replaced
    // meanwhile) undoes them all.
    std::size_t written = 0;
    os::Result failure;
    while (written < changes.size() && failure.ok()) {
        const Change& change = changes[written++];
        failure = file.writeAt(change.offset, change.after.data(), change.after.size());
    }
    if (failure.ok() && newSize < before.size)
        failure = file.truncate(newSize);
    if (failure.ok())
        failure = file.sync();
    std::string back;
    for (std::size_t i = 0; failure.ok() && i < changes.size(); ++i) {
        failure = os::readRange(file, changes[i].offset, changes[i].after.size(), back);
        if (failure.ok() && back != changes[i].after) {
            result.status = Status::error(StatusCode::VerifyFailed, path);
            undo(file, changes, changes.size(), before.size, i, result.status);
            result.failed = i;
            return finish(result.status.undo != Undo::Failed);
        }
    }
    FileIdentity now;
    if (failure.ok() && expected && !(os::identityAt(path, now) && now.sameFile(before))) {
        result.status = Status::error(StatusCode::FileChanged, path);
        undo(file, changes, changes.size(), before.size, changes.size() - 1, result.status);
        result.failed = changes.size() - 1;
        return finish(result.status.undo != Undo::Failed);
    }
    if (!failure.ok()) {
        result.status = Status::system(std::move(failure), path);
        result.failed = written - 1;
        undo(file, changes, written, before.size, written - 1, result.status);
        return finish(result.status.undo != Undo::Failed);
    }
    finish(true);
    os::Result examined = file.identity(result.identity);
    if (!examined.ok())
        result.status = Status::system(std::move(examined), path);
}

} // namespace

WriteResult writeEntries(const std::string& path, const FileKind& kind,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected, WriteSteps* steps) {
    WriteResult result;
    os::File file;
    FileIdentity before;
    const bool ready = openLocked(path, expected, file, result) &&
                       begin(file, path, expected, steps, before, result);
    // A failure of the whole file concerns the entry, when there is one.
    if (!ready) {
        if (writes.size() == 1)
            result.status.atKey(writes[0].key);
        return result;
    }
    if (writes.empty()) {
        result.identity = before;
        return result;
    }
    for (std::size_t i = 0; i < writes.size(); ++i) {
        result.status =
            checkWrite(kind, before.size, writes[i].key, writes[i].text, path, codePage);
        if (!result.status.ok()) {
            result.failed = i;
            return result;
        }
    }

    std::vector<Change> changes(writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        changes[i].offset = writes[i].key - 1;
        changes[i].after = encodeText(writes[i].text);
        os::Result read =
            os::readRange(file, changes[i].offset, changes[i].after.size(), changes[i].before);
        if (!read.ok()) {
            result.status = Status::system(std::move(read), path).atKey(writes[i].key);
            result.failed = i;
            return result;
        }
    }
    apply(file, path, before, changes, before.size, expected, steps, result);
    if (writes.size() == 1 && !result.status.ok() && !result.status.key)
        result.status.atKey(writes[0].key);
    return result;
}

WriteResult writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected, WriteSteps* steps) {
    WriteResult result =
        writeEntries(path, kind, {{key, std::string(text)}}, codePage, expected, steps);
    if (result.status.ok())
        result.line = EntryLine{key, std::string(text)};
    return result;
}

WriteResult writeContent(const std::string& path, const std::string& content, WriteSteps* steps) {
    WriteResult result;
    os::File file;
    FileIdentity before;
    if (!openLocked(path, nullptr, file, result) ||
        !begin(file, path, nullptr, steps, before, result))
        return result;
    std::vector<Change> changes(1);
    changes[0].after = content;
    os::Result read =
        os::readRange(file, 0, static_cast<std::size_t>(before.size), changes[0].before);
    if (!read.ok()) {
        result.status = Status::system(std::move(read), path);
        return result;
    }
    apply(file, path, before, changes, content.size(), nullptr, steps, result);
    return result;
}

} // namespace edt
