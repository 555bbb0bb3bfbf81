// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/xlsx.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "record/entry_line.h"
#include "translate/translate_status.h"
#include "translate/xlsx_parts.h"
#include "translate/zip_archive.h"

namespace edt::translate {
namespace {

using xlsx::Cell;
using xlsx::Row;

Status unreadable(std::string detail) {
    Status status = Status::error(translate::Code::UnreadableXlsx);
    status.detail = std::move(detail);
    return status;
}

// A spreadsheet's day number as a date ("2026-01-10", a time after it when it has one):
// days counted from 1899-12-30.
std::string dateOf(const std::string& serial) {
    const double value = std::strtod(serial.c_str(), nullptr);
    if (!(value >= 0 && value < 3e6))
        return serial;
    const long days = static_cast<long>(value) - 25569 + 719468; // to days from 0000-03-01
    const long era = days / 146097, dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    const long day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    const long year = yearOfEra + era * 400 + (month <= 2);
    char text[128];
    const long minutes = std::lround((value - std::floor(value)) * 1440);
    if (minutes == 0 || minutes == 1440)
        std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld", year, month, day);
    else
        std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld %02ld:%02ld", year, month, day,
                      minutes / 60, minutes % 60);
    return text;
}

// The cells' texts, and what is not text, by the workbook's shared strings and styles.
class CellReader {
public:
    CellReader(const std::vector<std::string>& strings, const std::vector<bool>& dates)
        : strings_(strings), dates_(dates) {}

    // The text of a cell that holds text (or none); false with `kind` and `shown` for one
    // that holds something else.
    bool text(const Cell* cell, std::string& out, CellKind& kind, std::string& shown) const {
        out.clear();
        if (!cell)
            return true;
        shown = cell->value;
        if (cell->formula) {
            kind = CellKind::Formula;
            shown = "=" + cell->formulaText;
            return false;
        }
        switch (cell->type) {
        case 's': {
            const std::size_t index = std::strtoul(cell->value.c_str(), nullptr, 10);
            if (index < strings_.size())
                out = strings_[index];
            return true;
        }
        case 'i':
        case 'f':
            out = cell->value;
            return true;
        case 'b':
            kind = CellKind::Boolean;
            shown = cell->value == "1" ? "TRUE" : "FALSE";
            return false;
        case 'e':
            kind = CellKind::Error;
            return false;
        case 'd':
            kind = CellKind::Date;
            return false;
        default:
            if (cell->value.empty())
                return true;
            kind = cell->style < dates_.size() && dates_[cell->style] ? CellKind::Date
                                                                      : CellKind::Number;
            if (kind == CellKind::Date)
                shown = dateOf(cell->value);
            return false;
        }
    }

private:
    const std::vector<std::string>& strings_;
    const std::vector<bool>& dates_;
};

const Cell* cellAt(const Row& row, std::optional<std::size_t> column) {
    if (!column)
        return nullptr;
    for (const Cell& cell : row.cells)
        if (cell.column == *column)
            return &cell;
    return nullptr;
}

std::string columnName(std::size_t column) {
    std::string name;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

// The translation's items from the sheet's rows, row 1 naming the columns.
void itemsOf(const std::vector<Row>& rows, const CellReader& cells, Translation& out) {
    if (rows.empty() || rows.front().number != 1) {
        out.problems.push_back(problemAt(0, translate::Code::MissingColumns));
        return;
    }
    std::vector<std::string> header;
    for (const Cell& cell : rows.front().cells) {
        header.resize(cell.column + 1);
        CellKind kind;
        std::string shown;
        if (!cells.text(&cell, header[cell.column], kind, shown))
            header[cell.column] = shown;
    }
    const Columns columns = columnsOf(header, 1, out);
    if (!columns.complete())
        return;
    out.column = columnName(*columns.text);
    for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
        TranslationItem item;
        item.line = row->number;
        CellKind kind = CellKind::Number;
        std::string shown, source;
        const auto refuse = [&](std::size_t column) {
            Problem problem =
                problemAt(row->number, translate::Code::CellNotText, cellName(column, row->number));
            problem.status.was = shown;
            problem.status.count = static_cast<std::uint64_t>(kind);
            RecordKey key = 0;
            if (column != *columns.key && parseKey(item.key, key))
                problem.status.atKey(key);
            out.problems.push_back(std::move(problem));
        };
        if (!cells.text(cellAt(*row, columns.key), item.key, kind, shown)) {
            refuse(*columns.key);
            continue;
        }
        if (!cells.text(cellAt(*row, columns.text), item.text, kind, shown)) {
            refuse(*columns.text);
            continue;
        }
        // The originals are ours, typed Text: what a spreadsheet made of one shows as
        // stale when it no longer matches.
        if (columns.source && !cells.text(cellAt(*row, columns.source), source, kind, shown))
            source = shown;
        if (item.key.empty() && item.text.empty() && source.empty())
            continue; // a blank row
        if (columns.source)
            item.source = std::move(source);
        out.items.push_back(std::move(item));
    }
}

} // namespace

std::uint64_t xlsxLimit(std::uint64_t csvLimit) {
    constexpr std::uint64_t kFixedParts = 256 * 1024; // styles, relationships, themes
    return csvLimit > UINT64_MAX / 2 ? UINT64_MAX : 2 * csvLimit + kFixedParts;
}

std::string cellName(std::size_t column, std::size_t row) {
    return columnName(column) + std::to_string(row);
}

Status readXlsx(std::string_view content, std::uint64_t limit, Translation& out,
                const std::string& sheet) {
    out = {};
    ZipArchive archive(content);
    if (!archive.opened())
        return unreadable("it is not a zip archive, as every .xlsx file is");
    std::string workbook, relationships, part;
    bool found = false;
    Status status = archive.read("xl/workbook.xml", limit, workbook, found);
    if (status.ok() && !found)
        return unreadable("it holds no workbook (xl/workbook.xml)");
    if (status.ok())
        status = archive.read("xl/_rels/workbook.xml.rels", limit, relationships, found);
    xlsx::BookParts parts;
    if (status.ok())
        status = xlsx::bookParts(workbook, relationships, sheet, parts);
    std::vector<std::string> strings;
    std::vector<bool> dates;
    if (status.ok() && !parts.sharedStrings.empty())
        status = archive.read(parts.sharedStrings, limit, part, found);
    if (status.ok() && found && !parts.sharedStrings.empty())
        status = xlsx::sharedStrings(part, strings);
    if (status.ok() && !parts.styles.empty())
        status = archive.read(parts.styles, limit, part, found);
    if (status.ok() && found && !parts.styles.empty())
        status = xlsx::dateStyles(part, dates);
    if (status.ok())
        status = archive.read(parts.sheet, limit, part, found);
    if (status.ok() && !found)
        return unreadable("its sheet " + parts.sheet + " is missing");
    std::vector<Row> rows;
    if (status.ok())
        status = xlsx::sheetRows(part, parts.sheet, rows);
    if (!status.ok())
        return status;
    itemsOf(rows, CellReader(strings, dates), out);
    return Status::success();
}

} // namespace edt::translate
