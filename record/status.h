// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/os_result.h"

namespace edt {

// What went wrong, as a value: the record core, the translations and the editor
// report through it and never throw across their interfaces or print. describe()
// (message.h) is the one place that turns it into the sentence users read.
enum class StatusCode {
    Ok,
    // The file and the system.
    SystemError,  // os: the operation and the system's reason, or what the path names
    FileTooLarge, // count: the file's size; limit: the largest listed
    OutOfMemory,  // listing the file
    FileChanged,  // since it was listed: replaced, shortened, rewritten ...
    FileRemoved,  // since it was listed: removed, or replaced by something not a file
    VerifyFailed, // key: the bytes read back differ from those written
    // Keys and texts.
    NotAKey,             // detail: what was given as a key
    BadKey,              // key: no listed entry starts there
    TextTooLong,         // key, count: characters; limit: the most that fit; entryBytes
    UnstorableCharacter, // character, position, codePage: code 0 or 255, no stored form
    NotInCharacterSet,   // character, codePage: the code page of the texts lacks it
    BadUtf8,             // position: of the byte
    BadEscape,           // position: an escape other than \\ \r \n \t \xHH
    BadHexEscape,        // position: \x without two hexadecimal digits
    NoPoSupport,         // this build cannot read or write PO files
    UnknownFormat,       // path: a translation whose format its name does not tell
    ExportOverSource,    // path: the export would replace the file it exports
    UnknownCodePage,     // detail: the name given
    MultiByteCodePage,   // detail: the name given
    CodePageMismatch,    // a translation exported with detail, not codePage
    BackupFailed,        // path, os; detail: the backups' folder
    BackupTooLarge,      // path, count: its size; limit: the largest copied (a note)
    EntryPastEnd,        // key; count: the file's size: no byte of the entry is there
    EntryCutOff,         // key, count: characters; limit: what the bytes there hold;
                         // entryBytes: those bytes; detail: the entry's full length
    StaleEntry,          // key; detail: the file's text now; was: the translation's original
    ExportExists,        // path: the export would replace a file (no --force)
    ExportOverEdtFile,   // path: the export would replace an EDT file
    NotUtf8Csv,          // position: line of the first byte that is not UTF-8
    CutOffTranslation,   // detail: what the end of the translation lacks
    // The editor's Write Record.
    NoFileOpen,
    NoLineSelected,
    FileNotListed,    // the last open failed
    KeyFromOtherFile, // key; detail: the file it was selected from
};

// What became of a write that failed after it had begun.
enum class Undo {
    None,    // nothing had been written
    PutBack, // every byte written was put back: the file is as it was
    Failed,  // putting back failed too (undoReason says why)
};

struct Status {
    StatusCode code = StatusCode::Ok;
    std::string path; // the file concerned
    std::optional<std::uint64_t> key;
    std::uint64_t count = 0;
    std::uint64_t limit = 0;
    int entryBytes = 0;
    char32_t character = 0;
    std::size_t position = 0; // from 1
    std::string detail;
    std::string was;      // StaleEntry
    std::string codePage; // the code page of the texts, where it matters
    os::Result os;

    Undo undo = Undo::None;
    std::uint64_t alsoWritten = 0; // other entries of the same batch written and undone
    std::string undoReason;        // phrased, when the undo failed

    bool ok() const { return code == StatusCode::Ok; }
    static Status success() { return {}; }
    static Status error(StatusCode code, std::string path = {}) {
        Status status;
        status.code = code;
        status.path = std::move(path);
        return status;
    }
    // A refusal of the operating system on `path`.
    static Status system(os::Result os, std::string path) {
        Status status = error(StatusCode::SystemError, std::move(path));
        status.os = std::move(os);
        return status;
    }
    Status& atKey(std::uint64_t k) {
        key = k;
        return *this;
    }
};

} // namespace edt
