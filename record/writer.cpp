#include "record/writer.h"

#include <vector>

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

WriteResult writeRecord(const std::string& path, std::string_view fileTitle, RecordKey key,
                        std::string_view text, const FileIdentity* expected) {
    WriteResult result;
    const FileKind kind = kindForFileName(fileTitle);
    const std::string notWritten = " Nothing was written to " + entryName(key, path) + ".";

    File file;
    result.status = file.open(path, File::Mode::Update);
    if (!result.status.ok()) {
        if (expected) {
            result.status.code = StatusCode::FileChanged;
            result.status.message += " The file may have been moved or removed since it was "
                                     "listed; open it again.";
        }
        result.status.message += notWritten;
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
    result.status = file.writeAt(offset, bytes.data(), bytes.size());
    if (result.status.ok())
        result.status = file.sync();
    if (!result.status.ok()) {
        result.status.message += " Entry " + formatKey(key) + " may be incomplete.";
        return result;
    }

    // Trust nothing: read the bytes back from the file.
    std::vector<char> back(bytes.size());
    std::size_t got = 0;
    result.status = file.readAt(offset, back.data(), back.size(), got);
    if (result.status.ok() &&
        (got != bytes.size() || !std::equal(bytes.begin(), bytes.end(), back.begin()))) {
        result.status = Status::error(StatusCode::VerifyFailed,
                                      "The bytes read back from " + entryName(key, path) +
                                          " differ from those written. The entry may be "
                                          "damaged.");
    }
    if (!result.status.ok())
        return result;
    result.status = file.identity(result.identity);
    if (!result.status.ok())
        return result;
    result.line = EntryLine{key, std::string(text)};
    return result;
}

} // namespace edt
