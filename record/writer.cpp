// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/writer.h"

#include <algorithm>

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

// The bytes of the file that one write covers, as they were before it.
struct SavedSpan {
    std::uint64_t offset = 0;
    std::string written; // what the write stores there
    std::string before;  // what the file held (shorter at the end of the file)
};

os::Result readRange(const os::File& file, std::uint64_t offset, std::size_t length,
                     std::string& out) {
    out.assign(length, '\0');
    std::size_t got = 0;
    os::Result result = file.readAt(offset, out.data(), out.size(), got);
    out.resize(got);
    return result;
}

// Puts back the first `count` saved spans: only the bytes that now differ, so that a
// full disk does not stand in the way of bytes never changed. A file that the writes
// made longer gets its length back (a growth beyond what they wrote is another
// program's). Flushed, then read back to be sure. The reason when it fails.
std::string putBack(const os::File& file, const std::vector<SavedSpan>& saved, std::size_t count,
                    std::uint64_t oldSize) {
    std::uint64_t writtenEnd = 0;
    std::string now;
    for (std::size_t i = count; i-- > 0;) {
        const SavedSpan& span = saved[i];
        writtenEnd = std::max<std::uint64_t>(writtenEnd, span.offset + span.written.size());
        os::Result result = readRange(file, span.offset, span.before.size(), now);
        if (!result.ok())
            return result.reason;
        now.resize(span.before.size(), '\0'); // shortened meanwhile: those bytes differ
        std::size_t first = 0;
        std::size_t last = now.size();
        while (first < last && now[first] == span.before[first])
            ++first;
        while (last > first && now[last - 1] == span.before[last - 1])
            --last;
        if (first < last) {
            result = file.writeAt(span.offset + first, span.before.data() + first, last - first);
            if (!result.ok())
                return result.reason;
        }
    }
    FileIdentity id;
    os::Result result = file.identity(id);
    if (result.ok() && id.size > oldSize && id.size <= writtenEnd)
        result = file.truncate(oldSize);
    if (result.ok())
        result = file.sync();
    for (std::size_t i = 0; result.ok() && i < count; ++i) {
        result = readRange(file, saved[i].offset, saved[i].before.size(), now);
        if (result.ok() && now != saved[i].before)
            return "the bytes read back still differ from the previous ones";
    }
    return result.ok() ? std::string() : result.reason;
}

// Undoes the first `count` writes and says so in `failure`, which concerns write
// number `failed`.
void undo(const os::File& file, const std::vector<SavedSpan>& saved, std::size_t count,
          std::uint64_t oldSize, std::size_t failed, Status& failure) {
    failure.alsoWritten = count - 1;
    failure.undoReason = putBack(file, saved, count, oldSize);
    failure.undo = failure.undoReason.empty() ? Undo::PutBack : Undo::Failed;
    failure.atKey(saved[failed].offset + 1);
}

} // namespace

WriteResult writeEntries(const std::string& path, std::string_view fileTitle,
                         const std::vector<EntryWrite>& writes, const CodePage& codePage,
                         const FileIdentity* expected) {
    WriteResult result;
    os::File file;
    FileIdentity before;
    os::Result opened = file.open(path, os::File::Mode::Update);
    if (opened.ok())
        opened = file.identity(before);
    // A failure of the whole file concerns the entry, when there is one.
    const auto refuse = [&](Status status) {
        if (writes.size() == 1)
            status.atKey(writes[0].key);
        result.status = std::move(status);
        return result;
    };
    if (!opened.ok()) {
        FileIdentity now;
        return refuse(expected && !(os::identityAt(path, now) && now.sameFile(*expected))
                          ? Status::error(StatusCode::FileRemoved, path)
                          : Status::system(std::move(opened), path));
    }
    if (expected && *expected != before)
        return refuse(Status::error(StatusCode::FileChanged, path));
    if (writes.empty()) {
        result.identity = before;
        return result;
    }
    const FileKind kind = kindForFileName(fileTitle);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        result.status =
            checkWrite(kind, before.size, writes[i].key, writes[i].text, path, codePage);
        if (!result.status.ok()) {
            result.failed = i;
            return result;
        }
    }

    std::vector<SavedSpan> saved(writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        saved[i].offset = writes[i].key - 1;
        saved[i].written = encodeText(writes[i].text);
        os::Result read =
            readRange(file, saved[i].offset, saved[i].written.size(), saved[i].before);
        if (!read.ok()) {
            result.status = Status::system(std::move(read), path).atKey(writes[i].key);
            result.failed = i;
            return result;
        }
    }

    // Writes stop at the first failure, which may have stopped halfway: its bytes go
    // back too. A failure after the last write (flush, read-back, a file replaced
    // meanwhile) undoes them all.
    std::size_t written = 0;
    os::Result failure;
    while (written < saved.size() && failure.ok()) {
        const SavedSpan& span = saved[written++];
        failure = file.writeAt(span.offset, span.written.data(), span.written.size());
    }
    if (failure.ok())
        failure = file.sync();
    std::string back;
    for (std::size_t i = 0; failure.ok() && i < saved.size(); ++i) {
        failure = readRange(file, saved[i].offset, saved[i].written.size(), back);
        if (failure.ok() && back != saved[i].written) {
            result.status = Status::error(StatusCode::VerifyFailed, path);
            undo(file, saved, saved.size(), before.size, i, result.status);
            result.failed = i;
            return result;
        }
    }
    FileIdentity now;
    if (failure.ok() && expected && !(os::identityAt(path, now) && now.sameFile(before))) {
        result.status = Status::error(StatusCode::FileChanged, path);
        undo(file, saved, saved.size(), before.size, saved.size() - 1, result.status);
        result.failed = saved.size() - 1;
        return result;
    }
    if (!failure.ok()) {
        result.status = Status::system(std::move(failure), path);
        result.failed = written - 1;
        undo(file, saved, written, before.size, written - 1, result.status);
        return result;
    }
    os::Result examined = file.identity(result.identity);
    if (!examined.ok())
        result.status = Status::system(std::move(examined), path);
    return result;
}

WriteResult writeRecord(const std::string& path, std::string_view fileTitle, RecordKey key,
                        std::string_view text, const CodePage& codePage,
                        const FileIdentity* expected) {
    WriteResult result =
        writeEntries(path, fileTitle, {{key, std::string(text)}}, codePage, expected);
    if (result.status.ok())
        result.line = EntryLine{key, std::string(text)};
    return result;
}

} // namespace edt
