// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/words.h"

#include "cli/game_folder.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/message.h"

namespace edt::cli {
namespace {

std::string own(const Status& s) {
    switch (s.code) {
    case StatusCode::NotAKey:
        return quoted(s.detail) +
               " is not a key: give the entry's position as decimal digits, as the listing "
               "shows it.";
    case StatusCode::BadEscape:
        return "Unknown escape at character " + std::to_string(s.position) +
               " (use \\\\ \\r \\n \\t or \\xHH).";
    case StatusCode::BadHexEscape:
        return "The escape \\x at character " + std::to_string(s.position) +
               " needs two hexadecimal digits.";
    case StatusCode::UnknownFormat:
        return "Cannot tell the format of " +
               (s.path == "-" ? std::string("standard input") : quoted(s.path)) +
               ": give --format csv, po or xlsx (a .csv, .po, .pot or .xlsx name says it).";
    case StatusCode::ExportOverSource:
        return quoted(s.path) + " is the file being exported; give another name for the export.";
    case StatusCode::ExportExists:
        return quoted(s.path) + " exists; give --force to replace it, or another name.";
    case StatusCode::ExportOverEdtFile:
        return quoted(s.path) + " is the name of an EDT file; an export never replaces one. "
                                "Give a name ending in .po, .csv or .xlsx.";
    case StatusCode::StaleEntry:
        return "Entry " + formatKey(s.key.value_or(0)) + " of " + quoted(s.path) +
               " no longer holds the original the translation was made from: the file holds " +
               quoted(s.detail) + ", the translation's original is " + quoted(s.was) +
               ". Export the texts again, or import with --force to write it anyway.";
    case StatusCode::DuplicateKey:
        return "Entry " + formatKey(s.key.value_or(0)) + " already has a text, at line " +
               std::to_string(s.count) + ".";
    case StatusCode::NotUtf8Csv:
        return "The file is not UTF-8 (line " + std::to_string(s.position) +
               " holds other bytes). Save it as UTF-8: in Excel as \"CSV UTF-8 (Comma "
               "delimited)\", in LibreOffice with the character set \"Unicode (UTF-8)\".";
    case StatusCode::CutOffTranslation:
        return "The translation ends in the middle: " + s.detail +
               ". Was it cut off? Nothing is imported from an incomplete file.";
    case StatusCode::EmptyTranslation:
        return "The file is empty; it needs the header line key,max,source,text.";
    case StatusCode::UnknownColumn:
        return "Unknown column " + quoted(s.detail) +
               "; the columns are key, max, source and text.";
    case StatusCode::MissingColumns:
        return "The first line must name the columns: key,max,source,text as edt-tool export "
               "writes them (key,text will do), separated by commas, semicolons or tabs.";
    case StatusCode::TooManyFields:
        return "The line has more fields than the header; quote a text that holds the "
               "separator.";
    case StatusCode::UnclosedQuote:
        return "A quoted field that starts on this line is never closed: its closing quote is "
               "missing.";
    case StatusCode::TextAfterQuote:
        return "Text follows the closing quote of a field; a quote inside a quoted field must "
               "be doubled (\"\").";
    case StatusCode::BareQuote:
        return "A field holds a quote but is not quoted; enclose it in quotes and double the "
               "quote (\"\").";
    case StatusCode::NotUtf8Po:
        return "The file is in the character set " + s.detail +
               "; convert it to UTF-8 first (msgconv --to-code=UTF-8).";
    case StatusCode::UnreadablePo:
        return s.detail.empty() ? std::string("gettext cannot read the file.") : s.detail;
    case StatusCode::OtherDomain:
        return "The messages of the domain " + quoted(s.detail) +
               " would be ignored; EDT entries belong to no domain.";
    case StatusCode::PluralMessage:
        return "The message has plural forms; an EDT entry holds one text.";
    case StatusCode::NoContext:
        return "The message has no msgctxt, so it names no entry; the key belongs there.";
    case StatusCode::TranslationTooLarge:
        return (s.path == "-" ? std::string("Standard input") : quoted(s.path)) + " is more than " +
               std::to_string(s.limit) + " bytes long: larger than any translation of " +
               quoted(s.detail) + " can be (every entry's longest text, escaped, with its key).";
    case StatusCode::TranslationOutOfMemory:
        return "There is not enough memory to read the translation " +
               (s.path == "-" ? std::string("on standard input") : quoted(s.path)) + ".";
    case StatusCode::NoBackup:
        return s.detail.empty() ? "There is no backup of " + quoted(s.path) + "."
                                : quoted(s.detail) + " is not a backup of " + quoted(s.path) +
                                      "; edt-tool backups FILE lists them.";
    case StatusCode::ReformattedSource:
        return "Entry " + formatKey(s.key.value_or(0)) + " of " + quoted(s.path) + " holds " +
               quoted(s.detail) + ", but its source cell reads " + quoted(s.was) +
               ": a spreadsheet took the cell for a number, a date or a formula, and may have "
               "changed the text cell too, so not even --force writes it. For a spreadsheet, "
               "export as XLSX (edt-tool export FILE -o FILE.xlsx), whose cells are Text and "
               "keep what is typed; or open the CSV again with every column imported as Text "
               "(LibreOffice: Text Import, select all columns, column type Text; Excel: Data > "
               "From Text/CSV > Transform Data, every column's type Text).";
    case StatusCode::MisreadOriginals:
        return (s.count == 1 ? std::string("1 untranslated entry (")
                             : std::to_string(s.count) + " untranslated entries (") +
               s.detail +
               (s.count == 1 ? ") holds an original that reads" : ") hold originals that read") +
               " differently in " + s.codePage +
               ", the code page the texts are written in: " + describeCharacter(s.character) +
               " shows as '" + s.was + "'. " + (s.count == 1 ? "It is" : "They are") +
               " left as the file holds " + (s.count == 1 ? "it" : "them") +
               "; --recode-untranslated writes " + (s.count == 1 ? "it" : "them") + " in " +
               s.codePage + " wherever it has every character.";
    case StatusCode::NotRecoded:
        return (s.count == 1
                    ? std::string("1 untranslated entry keeps its original")
                    : std::to_string(s.count) + " untranslated entries keep their originals") +
               " as the file holds " + (s.count == 1 ? "it" : "them") + ", as " + s.codePage +
               " lacks a character of " + (s.count == 1 ? "it" : "each") + ": " + s.detail + ".";
    case StatusCode::UnreadableXlsx:
        return "The workbook cannot be read: " + s.detail + ".";
    case StatusCode::XlsxPartTooLarge:
        return "The workbook's part " + s.detail + " unpacks to more than " +
               std::to_string(s.limit) + " bytes, more than any translation of the file needs.";
    case StatusCode::XlsxNotWritten:
        return "The workbook could not be made (" + s.detail + ").";
    case StatusCode::TooManyRowsForXlsx:
        return "The file has " + std::to_string(s.count) + " entries; a sheet holds " +
               std::to_string(s.limit) + ". Export it as CSV or PO.";
    case StatusCode::CellNotText: {
        static const char* const kinds[] = {"the number ", "the date ", "the boolean ",
                                            "the error ", "the formula "};
        return s.detail + " holds " + kinds[s.count < 5 ? s.count : 0] + s.was +
               ", not text: set the column's format to Text and type it again.";
    }
    default:
        return {};
    }
}

std::string hint(const Status& s) {
    switch (s.code) {
    case StatusCode::UnknownCodePage:
    case StatusCode::MultiByteCodePage:
        return " The single-byte code pages: edt-tool --list-codepages.";
    case StatusCode::NotInCharacterSet:
        return s.detail.empty() ? std::string()
                                : " " + s.codePage + " " + s.detail +
                                      "; choose another with --codepage NAME (edt-tool "
                                      "--list-codepages lists them).";
    case StatusCode::BackupFailed:
        return " (--no-backup or EDT_NO_BACKUP=1 writes without a copy.)";
    case StatusCode::FileChanged:
    case StatusCode::FileRemoved:
        return " Run the command again.";
    case StatusCode::JournalUnusable:
        return " edt-tool recover " + quoted(s.path) +
               " tries again; with --discard it removes the journal.";
    default:
        return {};
    }
}

constexpr FrontEndWords kWords{own, hint};

} // namespace

std::string toolMessage(const Status& status, bool ofWrite) {
    return edt::describe(status, ofWrite, kWords);
}

std::string itemMessage(const Status& status) {
    const std::string sentence = toolMessage(status);
    if (!status.key || sentence.find(formatKey(*status.key)) != std::string::npos)
        return sentence;
    return "Entry " + formatKey(*status.key) + ": " + sentence;
}

std::string folderMessage(const FolderNote& note) {
    const std::string path = quoted(note.path), detail = quoted(note.detail);
    const std::string name = fileTitleOf(note.path);
    switch (note.kind) {
    case FolderNote::Kind::NoTranslation:
        return path + " has no translation in " + detail + " (" + stemOf(name) +
               ".po, .csv or .xlsx, in any case); it is left as it is.";
    case FolderNote::Kind::NoEdtFile:
        return path + " has no EDT file of its name in " + detail + " (" + stemOf(name) +
               ".edt, in any case); it is left out.";
    case FolderNote::Kind::SameName:
        return "In " + path + ", " + note.detail +
               " have one name (names are compared in any case, without their extension): "
               "keep one.";
    case FolderNote::Kind::NoEdtFiles:
        return path + " holds no EDT file (a name ending in .edt, in any case).";
    case FolderNote::Kind::NoLanguage:
        return "Cannot make " + path + " for the new EDT file: the POs of " + detail +
               " name no one Language. Make it with edt-tool export FILE --language LL -o " + path +
               ".";
    case FolderNote::Kind::Vanished:
        return path + " has no EDT file " + stemOf(name) + ".edt in " + detail +
               " any more; it is left as it is.";
    case FolderNote::Kind::NotAFolder:
        return path + " is not a folder: with the folder " + detail +
               " of EDT files, give the folder of their translations.";
    case FolderNote::Kind::NoTranslations:
        return path + " holds no translation (.po, .csv or .xlsx) of an EDT file of " + detail +
               ".";
    }
    return {};
}

} // namespace edt::cli
