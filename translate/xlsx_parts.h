// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record/status.h"

// The parts of a workbook the XLSX reader needs, each from its XML.
namespace edt::translate::xlsx {

// Where the sheet, the shared strings and the styles are (paths in the archive;
// empty when the workbook names none).
struct BookParts {
    std::string sheet, sharedStrings, styles;
};

// From xl/workbook.xml and its relationships (xl/_rels/workbook.xml.rels); the sheet
// named `sheetName`, or the first with none.
Status bookParts(std::string_view workbook, std::string_view relationships,
                 const std::string& sheetName, BookParts& out);

// The shared strings: each item's text, its rich-text runs joined (phonetic runs left
// out), _xHHHH_ escapes decoded.
Status sharedStrings(std::string_view xml, std::vector<std::string>& out);

// For each cell format (the cells' s="N"), whether its number format shows a date.
Status dateStyles(std::string_view xml, std::vector<bool>& out);

// A text with the escapes _xHHHH_ of control characters decoded (_x005F_ is "_").
std::string unescaped(std::string_view text);

// One cell of a sheet as stored.
struct Cell {
    std::size_t column = 0; // from 0
    char type = 'n';        // n number, s shared string, i inline string, f formula string
                            // (str), b boolean, e error, d date
    std::size_t style = 0;
    bool formula = false;
    std::string formulaText;
    std::string value; // <v>, or the inline string's text
};

struct Row {
    std::size_t number = 0; // from 1
    std::vector<Cell> cells;
};

// The cells of a sheet, by row.
Status sheetRows(std::string_view xml, const std::string& name, std::vector<Row>& out);

} // namespace edt::translate::xlsx
