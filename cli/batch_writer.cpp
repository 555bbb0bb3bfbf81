#include "cli/batch_writer.h"

#include <algorithm>

#include "record/text_codec.h"

namespace edt::cli {
namespace {

// The bytes of the file that one write covers, as they were before the import.
struct SavedSpan {
    std::uint64_t offset = 0;
    std::size_t length = 0; // how much the write covers
    std::string bytes;      // what the file held there (shorter at the end of the file)
};

Status saveSpans(const File& file, const std::vector<PlannedWrite>& writes,
                 std::vector<SavedSpan>& saved) {
    saved.reserve(writes.size());
    for (const PlannedWrite& write : writes) {
        SavedSpan span;
        span.offset = write.key - 1;
        span.length = encodeText(write.text).size();
        span.bytes.resize(span.length);
        std::size_t got = 0;
        Status status = file.readAt(span.offset, span.bytes.data(), span.length, got);
        if (!status.ok())
            return status;
        span.bytes.resize(got);
        saved.push_back(std::move(span));
    }
    return Status::success();
}

// Writes the first `count` saved spans back, cuts off what the writes added past the
// old end of the file, flushes, and reads everything back to be sure.
Status putBack(const File& file, const std::vector<SavedSpan>& saved, std::size_t count,
               std::uint64_t oldSize) {
    std::uint64_t writtenEnd = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const SavedSpan& span = saved[i];
        Status status = file.writeAt(span.offset, span.bytes.data(), span.bytes.size());
        if (!status.ok())
            return status;
        writtenEnd = std::max<std::uint64_t>(writtenEnd, span.offset + span.length);
    }
    FileIdentity now;
    Status status = file.identity(now);
    if (!status.ok())
        return status;
    // Only a growth our writes explain is undone; another program's appending is not ours.
    if (now.size > oldSize && now.size <= writtenEnd) {
        status = file.truncate(oldSize);
        if (!status.ok())
            return status;
    }
    status = file.sync();
    if (!status.ok())
        return status;
    for (std::size_t i = 0; i < count; ++i) {
        const SavedSpan& span = saved[i];
        std::string back(span.bytes.size(), '\0');
        std::size_t got = 0;
        status = file.readAt(span.offset, back.data(), back.size(), got);
        if (!status.ok())
            return status;
        if (got != back.size() || back != span.bytes)
            return Status::error(StatusCode::VerifyFailed, "The bytes read back at entry " +
                                                               formatKey(span.offset + 1) +
                                                               " differ from the earlier ones.");
    }
    return Status::success();
}

} // namespace

Status writeAll(const std::string& path, const FileIdentity& checked,
                const std::vector<PlannedWrite>& writes, const EntryWriter& writer) {
    if (writes.empty())
        return Status::success();
    const std::string nothingWritten = " Nothing was written.";
    File file;
    Status status = file.open(path, File::Mode::Update);
    FileIdentity now;
    if (status.ok())
        status = file.identity(now);
    if (status.ok() && now != checked)
        status = Status::error(StatusCode::FileChanged,
                               "\"" + path +
                                   "\" has been changed by another program since it "
                                   "was checked; check the translation again.");
    std::vector<SavedSpan> saved;
    if (status.ok())
        status = saveSpans(file, writes, saved);
    if (!status.ok()) {
        status.message += nothingWritten;
        return status;
    }

    FileIdentity expected = checked;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const PlannedWrite& write = writes[i];
        WriteResult result =
            writer(path, fileTitleOf(path), write.key, write.text, &expected, Flush::ByCaller);
        if (result.status.ok()) {
            expected = result.identity;
            continue;
        }
        // The failed write may have stopped halfway, so its bytes go back too, unless
        // it was refused because another program had changed the file.
        const std::size_t count = result.status.code == StatusCode::FileChanged ? i : i + 1;
        Status failure = result.status;
        failure.message = "The import stopped at entry " + formatKey(write.key) + " (line " +
                          std::to_string(write.line) + " of the translation): " + failure.message;
        const Status undone = putBack(file, saved, count, checked.size);
        if (undone.ok()) {
            failure.message += " The import was undone: the " + std::to_string(i) +
                               " entries written before were put back, and \"" + path +
                               "\" holds what it held before.";
        } else {
            failure.message += " Putting back the " + std::to_string(i) +
                               " entries written before failed too: " + undone.message + " \"" +
                               path +
                               "\" may hold part of the translation; restore it from a copy.";
        }
        return failure;
    }
    status = file.sync();
    if (!status.ok()) {
        Status undone = putBack(file, saved, writes.size(), checked.size);
        status.message +=
            undone.ok() ? " The import was undone: \"" + path + "\" holds what it held before."
                        : " Putting the entries back failed too: " + undone.message +
                              " Restore \"" + path + "\" from a copy.";
    }
    return status;
}

} // namespace edt::cli
