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

} // namespace edt
