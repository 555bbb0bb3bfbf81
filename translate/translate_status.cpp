// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/translate_status.h"

#include "record/entry_line.h"
#include "record/message.h"

namespace edt::translate {

std::string describe(const Status& s) {
    switch (numberOf(s.code)) {
    case numberOf(Code::NotAKey):
        return quoted(s.detail) +
               " is not a key: give the entry's position as decimal digits, as the listing "
               "shows it.";
    case numberOf(Code::StaleEntry):
        return "Entry " + formatKey(s.key.value_or(0)) + " of " + quoted(s.path) +
               " no longer holds the original the translation was made from: the file holds " +
               quoted(s.detail) + ", the translation's original is " + quoted(s.was) + ".";
    case numberOf(Code::DuplicateKey):
        return "Entry " + formatKey(s.key.value_or(0)) + " already has a text, at line " +
               std::to_string(s.count) + ".";
    case numberOf(Code::NotUtf8Csv):
        return "The file is not UTF-8 (line " + std::to_string(s.position) +
               " holds other bytes). Save it as UTF-8: in Excel as \"CSV UTF-8 (Comma "
               "delimited)\", in LibreOffice with the character set \"Unicode (UTF-8)\".";
    case numberOf(Code::CutOffTranslation):
        return "The translation ends in the middle: " + s.detail +
               ". Was it cut off? Nothing is imported from an incomplete file.";
    case numberOf(Code::EmptyTranslation):
        return "The file is empty; it needs the header line key,max,source,text.";
    case numberOf(Code::UnknownColumn):
        return "Unknown column " + quoted(s.detail) +
               "; the columns are key, max, source and text.";
    case numberOf(Code::MissingColumns):
        return "The first line must name the columns: key,max,source,text as edt-tool export "
               "writes them (key,text will do), separated by commas, semicolons or tabs.";
    case numberOf(Code::TooManyFields):
        return "The line has more fields than the header; quote a text that holds the "
               "separator.";
    case numberOf(Code::UnclosedQuote):
        return "A quoted field that starts on this line is never closed: its closing quote is "
               "missing.";
    case numberOf(Code::TextAfterQuote):
        return "Text follows the closing quote of a field; a quote inside a quoted field must "
               "be doubled (\"\").";
    case numberOf(Code::BareQuote):
        return "A field holds a quote but is not quoted; enclose it in quotes and double the "
               "quote (\"\").";
    case numberOf(Code::NotUtf8Po):
        return "The file is in the character set " + s.detail +
               "; convert it to UTF-8 first (msgconv --to-code=UTF-8).";
    case numberOf(Code::UnreadablePo):
        return s.detail.empty() ? std::string("gettext cannot read the file.") : s.detail;
    case numberOf(Code::OtherDomain):
        return "The messages of the domain " + quoted(s.detail) +
               " would be ignored; EDT entries belong to no domain.";
    case numberOf(Code::PluralMessage):
        return "The message has plural forms; an EDT entry holds one text.";
    case numberOf(Code::NoContext):
        return "The message has no msgctxt, so it names no entry; the key belongs there.";
    case numberOf(Code::ReformattedSource):
        return "Entry " + formatKey(s.key.value_or(0)) + " of " + quoted(s.path) + " holds " +
               quoted(s.detail) + ", but its source cell reads " + quoted(s.was) +
               ": a spreadsheet took the cell for a number, a date or a formula, and may have "
               "changed the text cell too, so not even --force writes it. For a spreadsheet, "
               "export as XLSX (edt-tool export FILE -o FILE.xlsx), whose cells are Text and "
               "keep what is typed; or open the CSV again with every column imported as Text "
               "(LibreOffice: Text Import, select all columns, column type Text; Excel: Data > "
               "From Text/CSV > Transform Data, every column's type Text).";
    case numberOf(Code::MisreadOriginals):
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
    case numberOf(Code::NotRecoded):
        return (s.count == 1
                    ? std::string("1 untranslated entry keeps its original")
                    : std::to_string(s.count) + " untranslated entries keep their originals") +
               " as the file holds " + (s.count == 1 ? "it" : "them") + ", as " + s.codePage +
               " lacks a character of " + (s.count == 1 ? "it" : "each") + ": " + s.detail + ".";
    case numberOf(Code::UnreadableXlsx):
        return "The workbook cannot be read: " + s.detail + ".";
    case numberOf(Code::XlsxPartTooLarge):
        return "The workbook's part " + s.detail + " unpacks to more than " +
               std::to_string(s.limit) + " bytes, more than any translation of the file needs.";
    case numberOf(Code::XlsxNotWritten):
        return "The workbook could not be made (" + s.detail + ").";
    case numberOf(Code::TooManyRowsForXlsx):
        return "The file has " + std::to_string(s.count) + " entries; a sheet holds " +
               std::to_string(s.limit) + ". Export it as CSV or PO.";
    case numberOf(Code::CellNotText): {
        static const char* const kinds[] = {"the number ", "the date ", "the boolean ",
                                            "the error ", "the formula "};
        return s.detail + " holds " + kinds[s.count < 5 ? s.count : 0] + s.was +
               ", not text: set the column's format to Text and type it again.";
    }
    default:
        return {};
    }
}

} // namespace edt::translate
