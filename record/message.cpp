// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/message.h"

#include <cstdio>

#include "record/entry_line.h"
#include "record/utf8.h"

namespace edt {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
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
        return quoted(s.path) + " is " + std::to_string(s.count) +
               " bytes long; EDT files of more than " + std::to_string(s.limit) +
               " bytes are not listed. Is it the right file?";
    case StatusCode::OutOfMemory:
        return "There is not enough memory to list " + quoted(s.path) + ".";
    case StatusCode::FileChanged:
        return quoted(s.path) +
               " has been changed by another program since it was listed. Open it again "
               "before writing.";
    case StatusCode::FileRemoved:
        return quoted(s.path) +
               " has been removed or replaced by another program since it was listed. Open it "
               "again before writing.";
    case StatusCode::VerifyFailed:
        return "The bytes read back from " + entryOf(s) + " differ from those written.";
    case StatusCode::NotAKey:
        return quoted(s.detail) +
               " is not a key: give the entry's position as decimal digits, as the listing "
               "shows it.";
    case StatusCode::BadKey:
        return "Key " + formatKey(s.key.value_or(0)) + " is not the start of an entry of " +
               quoted(s.path) + ".";
    case StatusCode::TextTooLong:
        return "The text has " + std::to_string(s.count) + " characters, but " + entryOf(s) +
               " holds at most " + std::to_string(s.limit) + " (" + std::to_string(s.entryBytes) +
               " bytes with the terminator).";
    case StatusCode::UnstorableCharacter:
        return "The character " + describeCharacter(s.character) + " (character " +
               std::to_string(s.position) + " of the text) cannot be stored in an EDT file: " +
               (s.character == 0 ? std::string("code 0 would end the text.")
                                 : "its code in " + s.codePage +
                                       " is 255, which would be stored as 256, more than a "
                                       "byte holds.");
    case StatusCode::NotInCharacterSet:
        return "The character " + describeCharacter(s.character) + " has no place in " +
               s.codePage + ", the code page the texts are read in.";
    case StatusCode::BadUtf8:
        return "The text is not valid UTF-8 (at byte " + std::to_string(s.position) + ").";
    case StatusCode::BadEscape:
        return "Unknown escape at character " + std::to_string(s.position) +
               " (use \\\\ \\r \\n \\t or \\xHH).";
    case StatusCode::BadHexEscape:
        return "The escape \\x at character " + std::to_string(s.position) +
               " needs two hexadecimal digits.";
    case StatusCode::NoPoSupport:
        return "This edt-tool is built without PO support (GNU gettext's libgettextpo); use "
               "CSV instead.";
    case StatusCode::UnknownFormat:
        return "Cannot tell the format of " +
               (s.path == "-" ? std::string("standard input") : quoted(s.path)) +
               ": give --format csv or --format po (a .csv, .po or .pot name says it).";
    case StatusCode::ExportOverSource:
        return quoted(s.path) + " is the file being exported; give another name for the export.";
    case StatusCode::UnknownCodePage:
    case StatusCode::MultiByteCodePage:
        return (s.detail.empty() ? std::string("An empty name") : quoted(s.detail)) +
               (s.code == StatusCode::UnknownCodePage
                    ? " names no code page this system offers."
                    : " is a code page of several bytes per character; EDT texts hold one.") +
               " The single-byte code pages: edt-tool --list-codepages.";
    case StatusCode::CodePageMismatch:
        return "The translation was exported with the code page " + s.detail +
               ", but the texts are read in " + s.codePage + " now: import it with --codepage " +
               s.detail + ", or export the texts again.";
    case StatusCode::BackupFailed:
        return "Cannot copy " + quoted(s.path) + " to the backups in " + quoted(s.detail) +
               " before writing into it: " + s.os.reason +
               ". (--no-backup or EDT_NO_BACKUP=1 writes without a copy.)";
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
    case StatusCode::StaleEntry:
        return "Entry " + entryOf(s).substr(6) + " no longer holds the original the " +
               "translation was made from: the file holds \"" + s.detail + "\", the " +
               "translation's original is \"" + s.was +
               "\". Export the texts again, or give --force to write it anyway.";
    case StatusCode::ExportExists:
        return quoted(s.path) + " exists; give --force to replace it, or another name.";
    case StatusCode::ExportOverEdtFile:
        return quoted(s.path) + " is the name of an EDT file; an export never replaces one. "
                                "Give a name ending in .po or .csv.";
    case StatusCode::NotUtf8Csv:
        return "The file is not UTF-8 (line " + std::to_string(s.position) +
               " holds other bytes). Save it as UTF-8: in Excel as \"CSV UTF-8 (Comma "
               "delimited)\", in LibreOffice with the character set \"Unicode (UTF-8)\".";
    case StatusCode::CutOffTranslation:
        return "The translation ends in the middle: " + s.detail +
               ". Was it cut off? Nothing is imported from an incomplete file.";
    case StatusCode::NoFileOpen:
        return "No file is open. Open one with File > Open ..., select a line and edit its "
               "text first.";
    case StatusCode::NoLineSelected:
        return "No line is selected. Select the line whose text you want to replace in the "
               "list first.";
    case StatusCode::FileNotListed:
        return quoted(s.path) +
               " could not be read. Open a file that can be read, select a line and edit its "
               "text first.";
    case StatusCode::KeyFromOtherFile:
        return "The key " + formatKey(s.key.value_or(0)) + " belongs to " + quoted(s.detail) +
               ", which was open before " + quoted(s.path) +
               ". Select a line of the file open now first.";
    }
    return "Unknown error.";
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
    case Undo::Failed:
        return " Putting the previous bytes" + others + " back failed as well (" + s.undoReason +
               "): " + entryOf(s) + " may be damaged" +
               (s.alsoWritten == 0 ? std::string(".")
                                   : ", and other entries may hold their new texts.");
    }
    return {};
}

} // namespace

std::string describe(const Status& status, bool ofWrite) {
    return what(status) + afterUndo(status) + (ofWrite ? nothingWritten(status) : std::string());
}

std::string nothingWritten(const Status& status) {
    if (status.undo != Undo::None)
        return {};
    // Where the sentence does not name the entry already.
    const bool named =
        status.code == StatusCode::BadKey || status.code == StatusCode::TextTooLong ||
        status.code == StatusCode::VerifyFailed || status.code == StatusCode::KeyFromOtherFile ||
        status.code == StatusCode::EntryPastEnd || status.code == StatusCode::EntryCutOff ||
        status.code == StatusCode::StaleEntry;
    if (status.key && !named)
        return " Nothing was written to entry " + formatKey(*status.key) + ".";
    return " Nothing was written.";
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
