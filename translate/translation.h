// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/status.h"
#include "translate/problem.h"

namespace edt::translate {

namespace po {
struct Catalog;
}

// The ways a file's texts travel to translators and back.
enum class TranslationFormat { Csv, Po, Xlsx };

// From the name's extension: .csv, .po / .pot or .xlsx (any case); nothing for others.
std::optional<TranslationFormat> formatOfPath(std::string_view path);
std::optional<TranslationFormat> formatOfName(std::string_view name); // "csv", "po", "xlsx"

// One text of a translation, as the file gives it.
struct TranslationItem {
    std::size_t line = 0;              // where the item starts in the translation file
    std::string key;                   // as written ("0000641")
    std::string text;                  // UTF-8; empty when not translated
    bool fuzzy = false;                // PO: marked for review; not imported
    std::optional<std::string> source; // the original it was made from (UTF-8), if given

    // Untranslated, the same in every format: empty, fuzzy, or still its original (a
    // spreadsheet's untouched text cell, a msgstr copied from msgid by msgen).
    bool translated() const { return !text.empty() && !fuzzy && text != source; }
};

struct Translation {
    std::vector<TranslationItem> items; // in file order
    std::string codePage;               // the source's: the originals were read in it
    std::string language;               // PO: the Language header ("pl", "pt_BR")
    std::vector<Problem> problems;      // what could not be read
    std::string column;                 // XLSX: the text column's letter; lines are its rows
};

// The columns a header names (CSV, XLSX): key and text, and source and max if it
// likes, in any order; out.codePage from "source (CODE PAGE)". An unknown name, or no
// key or text column, is a problem at `line`.
struct Columns {
    std::optional<std::size_t> key, text, source;
    bool complete() const { return key && text; }
};
Columns columnsOf(const std::vector<std::string>& header, std::size_t line, Translation& out);

// The name of a CSV export's source column: "source (Windows-1252)" names the code
// page its originals were read in.
std::string sourceColumn(const std::string& codePage);

// Reads a translation's content (the front end reads the file): CSV whose header names
// the columns key and text, and source and max if it likes (in any order, separated by
// commas, semicolons or tabs), or PO with the key as msgctxt, the original as msgid and
// the text as msgstr. A CSV file that is not UTF-8, and input that ends in the middle (a
// last line without its line break, an open quote), are problems. XLSX as readXlsx
// (xlsx.h) reads it (the sheet named `sheet`, else the first), no part unpacked beyond
// `limit` bytes. The status fails only when
// the content cannot be read at all.
Status parseTranslation(std::string_view content, TranslationFormat format, Translation& out,
                        std::uint64_t limit = UINT64_MAX, const std::string& sheet = {});

// Reads a PO file's content whole, with the problems parseTranslation finds in it: the
// messages it lists are those an import reads.
Status readPoCatalog(std::string_view content, po::Catalog& catalog,
                     std::vector<Problem>& problems);

} // namespace edt::translate
