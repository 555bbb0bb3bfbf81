#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record/entry_line.h"
#include "record/file_io.h"
#include "record/file_kind.h"
#include "record/status.h"

namespace edt {

// Checks, without touching any file, that `text` (Windows-1252 bytes) can be
// written at `key` of a file of this kind and size: the key starts a listed entry,
// every character has a stored form, and text plus terminator fit the entry.
// `fileName` is only used in messages.
Status checkWrite(const FileKind& kind, std::uint64_t fileSize, RecordKey key,
                  std::string_view text, const std::string& fileName);

struct WriteResult {
    Status status;
    EntryLine line;        // the new list line, when the write succeeded
    FileIdentity identity; // the file's identity after the write
};

// When a write reaches the disk: flushed before writeRecord returns, or left to a
// caller that writes many entries and flushes the file once after the last.
enum class Flush { Now, ByCaller };

// Stores `text` at `key` in place: one positioned write of the encoded text and its
// four zero bytes into the existing file, flushed to disk and read back. Nothing is
// written when the check fails. With `expected`, the write is refused unless the
// file is still the one with that identity.
WriteResult writeRecord(const std::string& path, std::string_view fileTitle, RecordKey key,
                        std::string_view text, const FileIdentity* expected = nullptr,
                        Flush flush = Flush::Now);

} // namespace edt
