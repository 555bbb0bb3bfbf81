// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/reader.h"
#include "record/status.h"
#include "translate/translation.h"

namespace edt::translate {

// What a cell of the key or text column holds instead of text (CellNotText's count).
enum class CellKind { Number, Date, Boolean, Error, Formula };

// The most bytes an XLSX translation, and each part of it unpacked, may take when a CSV
// of the same file takes at most `csvLimit` (maxTranslationSize): room for the XML
// around the texts and the workbook's fixed parts.
std::uint64_t xlsxLimit(std::uint64_t csvLimit);

// A listed file's texts as a workbook of one sheet: the columns of a CSV export (key,
// max, source (CODE PAGE), text), every key, source and text cell, and each of those
// columns' default, typed Text; the header frozen; the source shaded; a text longer than
// its max (a line break counting two) marked. Line breaks are LF, as spreadsheets keep
// them. The bytes of the .xlsx go to `content`.
Status exportXlsx(const ReadResult& file, const CodePage& codePage, std::string& content);

// Reads a workbook's sheet named `sheet` (the first without a name) as a CSV's columns
// (row 1 names them). Every cell
// of the key and text columns must hold text: a number, date, boolean, error or formula
// is a problem naming the cell and the key. The text column's letter goes to
// out.column and each item's line is its row. Every part unpacked is at most `limit`
// bytes; the status fails when the workbook cannot be read.
Status readXlsx(std::string_view content, std::uint64_t limit, Translation& out,
                const std::string& sheet = {});

// "D12" for column 3 (from 0) of row 12.
std::string cellName(std::size_t column, std::size_t row);

} // namespace edt::translate
