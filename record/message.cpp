// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/message.h"

#include <cstdio>

#include "record/entry_line.h"
#include "record/utf8.h"

namespace edt {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

namespace {

// In decimal gigabytes with one decimal, rounded up: a size above the limit of
// 1 GB (2^30 bytes, as Windows counts) never reads as "1.0 GB".
std::string gigabytes(std::uint64_t bytes) {
    const std::uint64_t tenths = (bytes + 99'999'999) / 100'000'000;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " GB";
}

std::string entryOf(const Status& s) {
    return "entry " + formatKey(s.key.value_or(0)) + " of " + quoted(s.path);
}

// In the order of os::Op and os::NotFile.
constexpr const char* kVerbs[] = {
    "open",   "examine", "read",   "write",          "flush to disk", "restore the length of",
    "create", "replace", "remove", "list the folder"};
constexpr const char* kNotFiles[] = {"not a plain file", "a folder", "a pipe",          "a device",
                                     "a disk device",    "a socket", "not a plain file"};

std::string what(const Status& s) {
    switch (s.code) {
    case StatusCode::Ok:
        return {};
    case StatusCode::SystemError:
        if (s.os.notFile != os::NotFile::None)
            return quoted(s.path) + " is " + kNotFiles[static_cast<int>(s.os.notFile)] +
                   ", not an EDT file.";
        // "-" stands for standard input or output, as on command lines.
        return std::string("Cannot ") + kVerbs[static_cast<int>(s.os.op)] + " " +
               (s.path != "-"             ? quoted(s.path)
                : s.os.op == os::Op::Read ? std::string("standard input")
                                          : std::string("standard output")) +
               ": " + s.os.reason + ".";
    case StatusCode::FileTooLarge:
        return quoted(s.path) + " is " + gigabytes(s.count) + "; files above " +
               std::to_string(s.limit >> 30) + " GB are not listed. Is it the right file?";
    case StatusCode::OutOfMemory:
        return "There is not enough memory to list " + quoted(s.path) + ".";
    case StatusCode::FileChanged:
        return quoted(s.path) + " has been changed by another program since it was listed.";
    case StatusCode::FileRemoved:
        return quoted(s.path) +
               " has been removed or replaced by another program since it was listed.";
    case StatusCode::VerifyFailed:
        return "The bytes read back from " + entryOf(s) + " differ from those written.";
    case StatusCode::WriteLocked:
        return "Another program is writing this file: " + quoted(s.path) +
               ". Try again once it is done.";
    case StatusCode::NoStateFolder:
        return "Cannot write into " + quoted(s.path) +
               " safely: there is no folder for the journal of the write and the backups "
               "(set XDG_STATE_HOME or HOME; on Windows LOCALAPPDATA).";
    case StatusCode::JournalFailed:
        return "Cannot keep the journal of the write into " + quoted(s.path) + " in " +
               quoted(s.detail) + ": " + s.os.reason + ".";
    case StatusCode::WriteRolledBack:
        return "A write into " + quoted(s.path) + " begun at " + s.detail +
               " was interrupted; the previous bytes of its " + std::to_string(s.count) + " " +
               (s.count == 1 ? "entry were" : "entries were") +
               " put back from its journal, so the file is as it was before that write" +
               (s.limit == 0 ? std::string(".")
                             : " except " + std::to_string(s.limit) +
                                   (s.limit == 1 ? " entry" : " entries") +
                                   " that another program has changed since, left as they are.");
    case StatusCode::RollbackFailed:
        return "A write into " + quoted(s.path) + " begun at " + s.detail +
               " was interrupted, and putting back its previous bytes failed: " + s.os.reason +
               ". The journal is kept; the next program that opens the file tries again.";
    case StatusCode::JournalDiscarded:
        return "A write into " + quoted(s.path) + " begun at " + s.detail +
               " was interrupted, but another file has that name now; it was left as it is "
               "and the journal removed.";
    case StatusCode::JournalUnusable:
        return "A write into " + quoted(s.path) +
               " was interrupted or is going on, and its journal " + quoted(s.detail) +
               " cannot be played back now: " + s.was +
               ". The file may be half-written; nothing more is written into it until the "
               "journal is played back or discarded.";
    case StatusCode::BadKey:
        return "Key " + formatKey(s.key.value_or(0)) + " is not the start of an entry of " +
               quoted(s.path) + ".";
    case StatusCode::TextTooLong:
        return "The text has " + std::to_string(s.count) + " characters, but " + entryOf(s) +
               " holds at most " + std::to_string(s.limit) + " (" + std::to_string(s.entryBytes) +
               " bytes with the terminator); a line break counts as two characters.";
    case StatusCode::UnstorableCharacter:
        return "The character " + describeCharacter(s.character) + " (character " +
               std::to_string(s.position) + " of the text) cannot be stored in an EDT file: " +
               (s.character == 0 ? std::string("code 0 would end the text.")
                                 : "its code in " + s.codePage +
                                       " is 255, which would be stored as 256, more than a "
                                       "byte holds.");
    case StatusCode::NotInCharacterSet:
        return "The character " + describeCharacter(s.character) + " has no place in " +
               s.codePage + ", the code page the texts are written in.";
    case StatusCode::BadUtf8:
        return "The text is not valid UTF-8 (at byte " + std::to_string(s.position) + ").";
    case StatusCode::UnknownCodePage:
    case StatusCode::MultiByteCodePage:
        return (s.detail.empty() ? std::string("An empty name") : quoted(s.detail)) +
               (s.code == StatusCode::UnknownCodePage
                    ? " names no code page this system offers."
                    : " is a code page of several bytes per character; EDT texts hold one.");
    case StatusCode::BackupFailed:
        return "Cannot copy " + quoted(s.path) + " to the backups in " + quoted(s.detail) +
               " before writing into it: " + s.os.reason + ".";
    case StatusCode::BackupTooLarge:
        return quoted(s.path) + " is " + std::to_string(s.count) +
               " bytes long; files of more than " + std::to_string(s.limit) +
               " bytes are written without a backup copy.";
    case StatusCode::EntryPastEnd:
        return "Entry " + entryOf(s).substr(6) + " lies past the end of the file (" +
               std::to_string(s.count) +
               " bytes long): no text can be stored there, since a write never makes a file "
               "longer.";
    case StatusCode::EntryCutOff:
        return "The text has " + std::to_string(s.count) + " characters, but only " +
               std::to_string(s.entryBytes) + " of the " + s.detail + " bytes of " + entryOf(s) +
               " are in the file, room for " + std::to_string(s.limit) +
               " characters with the terminator; a write never makes a file longer.";
    case StatusCode::BadEscape:
        return "Unknown escape at character " + std::to_string(s.position) +
               " (use \\\\ \\r \\n \\t or \\xHH).";
    case StatusCode::BadHexEscape:
        return "The escape \\x at character " + std::to_string(s.position) +
               " needs two hexadecimal digits.";
    case StatusCode::NoBackup:
        return s.detail.empty() ? "There is no backup of " + quoted(s.path) + "."
                                : quoted(s.detail) + " is not a backup of " + quoted(s.path) + ".";
    default:
        return {}; // another library's: phrased by it
    }
}

std::string afterUndo(const Status& s) {
    const std::string others =
        s.alsoWritten == 0 ? std::string()
                           : ", and those of the " + std::to_string(s.alsoWritten) + " other " +
                                 (s.alsoWritten == 1 ? "entry" : "entries") + " written,";
    switch (s.undo) {
    case Undo::None:
        return {};
    case Undo::PutBack:
        return " The entry's previous bytes" + others + " were put back: the file is as it was.";
    case Undo::AroundOthers:
        return " The entry's previous bytes" + others +
               " were put back where they still held this write's; another program has "
               "changed the rest meanwhile.";
    case Undo::Failed:
        return " Putting the previous bytes" + others + " back failed as well (" + s.undoReason +
               "): " + entryOf(s) + " may be damaged" +
               (s.alsoWritten == 0 ? std::string(".")
                                   : ", and other entries may hold their new texts.") +
               (s.journalKept ? " The write's journal is kept: the next program that opens the "
                                "file puts back what it can."
                              : "");
    }
    return {};
}

} // namespace

std::string describe(const Status& status, bool ofWrite, const FrontEndWords& words) {
    std::string sentence = words.own ? words.own(status) : std::string();
    if (sentence.empty()) {
        sentence = what(status);
        if (words.hint)
            sentence += words.hint(status);
    }
    if (sentence.empty() && !status.ok())
        sentence = "Unknown error.";
    sentence += afterUndo(status);
    if (!ofWrite || status.undo != Undo::None)
        return sentence; // once writing had begun, afterUndo says what became of the bytes
    const std::string key = status.key ? formatKey(*status.key) : std::string();
    if (!key.empty() && sentence.find(key) == std::string::npos)
        return sentence + " Nothing was written to entry " + key + ".";
    return sentence + " Nothing was written.";
}

std::string describeCharacter(char32_t cp) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(cp));
    // Control characters and surrogates are named by number only.
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF)
        return number;
    std::string out = "'";
    appendUtf8(out, cp);
    return out + "' (" + number + ")";
}

} // namespace edt
