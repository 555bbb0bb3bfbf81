#include "record/writer.h"

#include <sys/stat.h>

#include "record/text_codec.h"

namespace edt {
namespace {

std::string entryName(RecordKey key, const std::string& fileName) {
    return "entry " + formatKey(key) + " of \"" + fileName + "\"";
}

} // namespace

Status checkWrite(const FileKind& kind, std::uint64_t fileSize, RecordKey key,
                  std::string_view text, const std::string& fileName) {
    const EntryLayout layout(kind, fileSize);
    const std::int64_t index = layout.indexOfKey(key);
    if (index < 0) {
        return Status::error(StatusCode::BadKey, "Key " + formatKey(key) +
                                                     " is not the start of an entry of \"" +
                                                     fileName + "\". Nothing was written.");
    }
    Status storable = checkStorable(text);
    if (!storable.ok()) {
        storable.message += " It was not written to " + entryName(key, fileName) + ".";
        return storable;
    }
    const int length = layout.lengthOf(static_cast<std::uint64_t>(index));
    const std::uint64_t needed = static_cast<std::uint64_t>(text.size()) * 2 + 4;
    if (needed > static_cast<std::uint64_t>(length)) {
        return Status::error(StatusCode::TextTooLong,
                             "The text has " + std::to_string(text.size()) + " characters, but " +
                                 entryName(key, fileName) + " holds at most " +
                                 std::to_string(maxCharsForEntry(length)) + " (" +
                                 std::to_string(length) +
                                 " bytes with the terminator). Nothing was written.");
    }
    return Status::success();
}

namespace {

// Whether `path` still names the file with that device and inode. A folder made in
// place of a deleted file can get the file's inode number, hence the type test.
bool stillNames(const std::string& path, const FileIdentity& expected) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           static_cast<std::uint64_t>(info.st_dev) == expected.device &&
           static_cast<std::uint64_t>(info.st_ino) == expected.inode;
}

// Reads [offset, offset + length) as far as the file reaches.
Status readRange(const File& file, std::uint64_t offset, std::size_t length, std::string& out) {
    out.assign(length, '\0');
    std::size_t got = 0;
    const Status status = file.readAt(offset, out.data(), out.size(), got);
    out.resize(got);
    return status;
}

// Undoes a failed write: puts back the bytes the entry held before (only those that
// now differ, so that a full disk does not stand in the way of bytes never
// changed), gives the file back its length, and checks the result.
Status restore(const File& file, std::uint64_t offset, const std::string& old,
               std::uint64_t oldSize, std::size_t writtenLength) {
    std::string now;
    Status status = readRange(file, offset, old.size(), now);
    if (!status.ok())
        return status;
    if (now.size() < old.size())
        now.resize(old.size(), '\0'); // shortened meanwhile: every old byte differs
    std::size_t first = 0;
    while (first < old.size() && now[first] == old[first])
        ++first;
    std::size_t last = old.size();
    while (last > first && now[last - 1] == old[last - 1])
        --last;
    if (first < last) {
        status = file.writeAt(offset + first, old.data() + first, last - first);
        if (!status.ok())
            return status;
    }
    FileIdentity id;
    status = file.identity(id);
    if (status.ok() && id.size > oldSize && offset + writtenLength > oldSize)
        status = file.truncate(oldSize);
    if (status.ok())
        status = file.sync();
    if (status.ok())
        status = readRange(file, offset, old.size(), now);
    if (status.ok() && now != old) {
        status = Status::error(StatusCode::VerifyFailed,
                               "The bytes read back still differ from the previous ones.");
    }
    return status;
}

} // namespace

WriteResult writeRecord(const std::string& path, std::string_view fileTitle, RecordKey key,
                        std::string_view text, const FileIdentity* expected, Flush flush) {
    WriteResult result;
    const FileKind kind = kindForFileName(fileTitle);
    const std::string notWritten = " Nothing was written to " + entryName(key, path) + ".";

    File file;
    result.status = file.open(path, File::Mode::Update);
    if (!result.status.ok()) {
        if (expected && !stillNames(path, *expected)) {
            result.status =
                Status::error(StatusCode::FileChanged,
                              "\"" + path +
                                  "\" has been removed or replaced by another program since it was "
                                  "listed. Open it again before writing." +
                                  notWritten);
        } else {
            result.status.message += notWritten;
        }
        return result;
    }
    FileIdentity before;
    result.status = file.identity(before);
    if (!result.status.ok()) {
        result.status.message += notWritten;
        return result;
    }
    if (expected && *expected != before) {
        result.status =
            Status::error(StatusCode::FileChanged,
                          "\"" + path +
                              "\" has been changed by another program since it was listed. Open it "
                              "again before writing." +
                              notWritten);
        return result;
    }
    result.status = checkWrite(kind, before.size, key, text, path);
    if (!result.status.ok())
        return result;

    const std::string bytes = encodeText(text);
    const std::uint64_t offset = key - 1;
    // What the write will cover, so that a failed write can be undone.
    std::string old;
    result.status = readRange(file, offset, bytes.size(), old);
    if (!result.status.ok()) {
        result.status.message += notWritten;
        return result;
    }

    Status written = file.writeAt(offset, bytes.data(), bytes.size());
    if (written.ok() && flush == Flush::Now)
        written = file.sync();
    if (written.ok()) {
        // Trust nothing: read the bytes back from the file.
        std::string back;
        written = readRange(file, offset, bytes.size(), back);
        if (written.ok() && back != bytes) {
            written = Status::error(StatusCode::VerifyFailed, "The bytes read back from " +
                                                                  entryName(key, path) +
                                                                  " differ from those written.");
        }
    }
    if (!written.ok()) {
        result.status = written;
        const Status undone = restore(file, offset, old, before.size, bytes.size());
        if (undone.ok()) {
            result.status.message += " The entry's previous bytes were put back: the file is "
                                     "as it was.";
        } else {
            result.status.message += " Putting the previous bytes back failed as well (" +
                                     undone.message + "): " + entryName(key, path) +
                                     " may be damaged.";
        }
        return result;
    }

    result.status = file.identity(result.identity);
    if (!result.status.ok())
        return result;
    result.line = EntryLine{key, std::string(text)};
    return result;
}

} // namespace edt
