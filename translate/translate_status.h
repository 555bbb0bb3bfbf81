// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/status.h"

namespace edt::translate {

// What translations report beside the record core's statuses: the codes of reading
// CSV, PO and XLSX files and of the import plan.
struct Code {
    // detail: what was given as a key
    static constexpr StatusCode NotAKey{100};
    // key; detail: the file's text now; was: the translation's original
    static constexpr StatusCode StaleEntry{101};
    // key; count: the line of the entry's first text
    static constexpr StatusCode DuplicateKey{102};
    // position: line of the first byte that is not UTF-8
    static constexpr StatusCode NotUtf8Csv{103};
    // detail: what the end of the translation lacks
    static constexpr StatusCode CutOffTranslation{104};
    // a CSV without even its header line
    static constexpr StatusCode EmptyTranslation{105};
    // detail: the column's name
    static constexpr StatusCode UnknownColumn{106};
    // the header names no key or no text column
    static constexpr StatusCode MissingColumns{107};
    // a CSV line with more fields than its header
    static constexpr StatusCode TooManyFields{108};
    // a quoted CSV field that is never closed
    static constexpr StatusCode UnclosedQuote{109};
    // text after the closing quote of a CSV field
    static constexpr StatusCode TextAfterQuote{110};
    // a quote inside a CSV field that is not quoted
    static constexpr StatusCode BareQuote{111};
    // detail: the PO file's character set
    static constexpr StatusCode NotUtf8Po{112};
    // detail: gettext's words; empty when it said none
    static constexpr StatusCode UnreadablePo{113};
    // detail: the domain of PO messages that would be ignored
    static constexpr StatusCode OtherDomain{114};
    // a PO message with plural forms
    static constexpr StatusCode PluralMessage{115};
    // a translated PO message without msgctxt
    static constexpr StatusCode NoContext{116};
    // key; detail: the file's text; was: the source cell, a spreadsheet's rendering of it (a
    // number, a date ...)
    static constexpr StatusCode ReformattedSource{117};
    // a note: count: untranslated entries whose original reads differently in codePage (the
    // target); detail: their first keys; character: an original's; was: what it shows there
    static constexpr StatusCode MisreadOriginals{118};
    // a note: count: untranslated entries left as they are, as codePage lacks a character of each;
    // detail: their keys and characters
    static constexpr StatusCode NotRecoded{119};
    // detail: what is wrong with it, in a phrase
    static constexpr StatusCode UnreadableXlsx{120};
    // detail: the part of the workbook; limit: its most bytes
    static constexpr StatusCode XlsxPartTooLarge{121};
    // detail: libxlsxwriter's words
    static constexpr StatusCode XlsxNotWritten{122};
    // count: the entries; limit: the rows a sheet has for them
    static constexpr StatusCode TooManyRowsForXlsx{123};
    // detail: the cell ("D12"); was: its value as shown; count: a CellKind (translate/xlsx.h); key:
    // the row's
    static constexpr StatusCode CellNotText{124};
};

// The sentence users read for one of these statuses; empty for any other.
std::string describe(const Status& status);

} // namespace edt::translate
