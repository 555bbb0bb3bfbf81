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
// (message.h) turns it into the sentence users read: the record core's statuses there,
// those of translations and of each front end where that front end phrases them.
enum class StatusCode {
    Ok,
    // The file and the system.
    SystemError,      // os: the operation and the system's reason, or what the path names
    FileTooLarge,     // count: the file's size; limit: the largest listed
    OutOfMemory,      // listing the file
    FileChanged,      // since it was listed: replaced, shortened, rewritten ...
    FileRemoved,      // since it was listed: removed, or replaced by something not a file
    VerifyFailed,     // key: the bytes read back differ from those written
    WriteLocked,      // another program holds the file's write lock
    NoStateFolder,    // path: no folder for backups and journals (no home)
    JournalFailed,    // path, os; detail: the journal's path
    WriteRolledBack,  // path; detail: when; count: entries put back; limit: left (a note)
    RollbackFailed,   // path, os; detail: when the interrupted write began
    JournalDiscarded, // path; detail: when; the file there is another one now (a note)
    JournalUnusable,  // path; detail: the journal's path; was: why it is not played back
    // Keys and texts.
    BadKey,              // key: no listed entry starts there
    TextTooLong,         // key, count: characters; limit: the most that fit; entryBytes
    UnstorableCharacter, // character, position, codePage: code 0 or 255, no stored form
    NotInCharacterSet,   // character, codePage: the code page of the texts lacks it
    BadUtf8,             // position: of the byte
    UnknownCodePage,     // detail: the name given
    MultiByteCodePage,   // detail: the name given
    BackupFailed,        // path, os; detail: the backups' folder
    BackupTooLarge,      // path, count: its size; limit: the largest copied (a note)
    EntryPastEnd,        // key; count: the file's size: no byte of the entry is there
    EntryCutOff,         // key, count: characters; limit: what the bytes there hold;
                         // entryBytes: those bytes; detail: the entry's full length
    // Translations and edt-tool's command line (phrased by edt-tool).
    NotAKey,                // detail: what was given as a key
    BadEscape,              // position: an escape other than \\ \r \n \t \xHH
    BadHexEscape,           // position: \x without two hexadecimal digits
    UnknownFormat,          // path: a translation whose format its name does not tell
    ExportOverSource,       // path: the export would replace the file it exports
    ExportExists,           // path: the export would replace a file (no --force)
    ExportOverEdtFile,      // path: the export would replace an EDT file
    StaleEntry,             // key; detail: the file's text now; was: the translation's original
    DuplicateKey,           // key; count: the line of the entry's first text
    NotUtf8Csv,             // position: line of the first byte that is not UTF-8
    CutOffTranslation,      // detail: what the end of the translation lacks
    EmptyTranslation,       // a CSV without even its header line
    UnknownColumn,          // detail: the column's name
    MissingColumns,         // the header names no key or no text column
    TooManyFields,          // a CSV line with more fields than its header
    UnclosedQuote,          // a quoted CSV field that is never closed
    TextAfterQuote,         // text after the closing quote of a CSV field
    BareQuote,              // a quote inside a CSV field that is not quoted
    NotUtf8Po,              // detail: the PO file's character set
    UnreadablePo,           // detail: gettext's words; empty when it said none
    OtherDomain,            // detail: the domain of PO messages that would be ignored
    PluralMessage,          // a PO message with plural forms
    NoContext,              // a translated PO message without msgctxt
    TranslationTooLarge,    // path: the translation; limit; detail: the EDT file
    TranslationOutOfMemory, // path: the translation
    NoBackup,               // path; detail: the backup asked for, empty for any
    ReformattedSource,      // key; detail: the file's text; was: the source cell, a
                            // spreadsheet's rendering of it (a number, a date ...)
    MisreadOriginals,       // a note: count: untranslated entries whose original reads
                            // differently in codePage (the target); detail: their first
                            // keys; character: an original's; was: what it shows there
    NotRecoded,             // a note: count: untranslated entries left as they are, as
                            // codePage lacks a character of each; detail: their keys
                            // and characters
    UnreadableXlsx,         // detail: what is wrong with it, in a phrase
    XlsxPartTooLarge,       // detail: the part of the workbook; limit: its most bytes
    XlsxNotWritten,         // detail: libxlsxwriter's words
    TooManyRowsForXlsx,     // count: the entries; limit: the rows a sheet has for them
    CellNotText,            // detail: the cell ("D12"); was: its value as shown;
                            // count: a CellKind (translate/xlsx.h); key: the row's
    // The editor's Write Record (phrased by the editor).
    NoFileOpen,
    NoLineSelected,
    FileNotListed,    // the last open failed
    KeyFromOtherFile, // key; detail: the file it was selected from
};

// What became of a write that failed after it had begun.
enum class Undo {
    None,         // nothing had been written
    PutBack,      // every byte written was put back: the file is as it was
    AroundOthers, // put back where the bytes were still this write's; another program
                  // changed the rest meanwhile
    Failed,       // putting back failed too (undoReason says why)
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
    bool journalKept = false;      // a failed undo's journal waits for the next opening

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
