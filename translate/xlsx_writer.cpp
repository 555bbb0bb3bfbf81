// SPDX-License-Identifier: GPL-3.0-or-later
#include <xlsxwriter.h>

#include "platform/c_library_file.h"
#include "platform/file.h"
#include "platform/output_file.h"
#include "record/shown_text.h"
#include "translate/export.h"
#include "translate/translate_status.h"
#include "translate/translator_text.h"
#include "translate/xlsx.h"

namespace edt::translate {
namespace {

constexpr lxw_row_t kMostRows = 1048576; // a sheet's, the header's among them
constexpr std::size_t kTextWidth = 60;   // characters, of the source and text columns

// The height of a row whose text is `text`, wrapped in its column: spreadsheets keep the
// height a file gives rather than fit it to the text.
double rowHeight(const std::string& text) {
    std::size_t lines = 0, characters = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            lines += characters == 0 ? 1 : (characters + kTextWidth - 1) / kTextWidth;
            characters = 0;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++characters;
        }
    }
    return 15.0 * static_cast<double>(lines);
}

// The formats of the sheet's cells: every column but max typed Text ("@"), so that a
// spreadsheet keeps what translators type there as they type it.
struct Formats {
    lxw_format* header;
    lxw_format* key;
    lxw_format* max;
    lxw_format* source;
    lxw_format* text;
    lxw_format* tooLong;

    explicit Formats(lxw_workbook* book) {
        header = workbook_add_format(book);
        format_set_bold(header);
        format_set_num_format(header, "@");
        key = textFormat(book);
        max = workbook_add_format(book);
        format_set_num_format(max, "0");
        format_set_align(max, LXW_ALIGN_VERTICAL_TOP);
        source = textFormat(book);
        format_set_text_wrap(source);
        format_set_bg_color(source, 0xE8E8E8); // not to be edited
        format_set_font_color(source, 0x505050);
        text = textFormat(book);
        format_set_text_wrap(text);
        tooLong = workbook_add_format(book);
        format_set_bg_color(tooLong, 0xFFC7CE);
        format_set_font_color(tooLong, 0x9C0006);
    }

    static lxw_format* textFormat(lxw_workbook* book) {
        lxw_format* format = workbook_add_format(book);
        format_set_num_format(format, "@");
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        return format;
    }
};

Status failed(lxw_error error) {
    Status status = Status::error(translate::Code::XlsxNotWritten);
    status.detail = std::string("libxlsxwriter: ") + lxw_strerror(error);
    return status;
}

// The sheet, into the workbook `book` (which is then closed).
Status writeBook(lxw_workbook* book, const ReadResult& file, const CodePage& codePage) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    const Formats formats(book);
    // Column defaults too, so that cells typed into later are Text.
    worksheet_set_column(sheet, 0, 0, 10, formats.key);
    worksheet_set_column(sheet, 1, 1, 6, formats.max);
    worksheet_set_column(sheet, 2, 2, kTextWidth, formats.source);
    worksheet_set_column(sheet, 3, 3, kTextWidth, formats.text);
    worksheet_freeze_panes(sheet, 1, 0);
    // Printed across one page, the header on each.
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_repeat_rows(sheet, 0, 0);
    worksheet_write_string(sheet, 0, 0, "key", formats.header);
    worksheet_write_string(sheet, 0, 1, "max", formats.header);
    worksheet_write_string(sheet, 0, 2, sourceColumn(codePage.name()).c_str(), formats.header);
    worksheet_write_string(sheet, 0, 3, "text", formats.header);
    const ShownLimits limits(file.kind, file.identity.size);
    lxw_row_t row = 1;
    for (std::size_t i = 0; i < file.entries.size(); ++i, ++row) {
        const EntryLine& entry = file.entries[i];
        const std::string text = shownUtf8(entry.text, codePage);
        worksheet_set_row(sheet, row, rowHeight(text), nullptr);
        worksheet_write_string(sheet, row, 0, formatKey(entry.key).c_str(), formats.key);
        worksheet_write_number(sheet, row, 1, limits(i), formats.max);
        worksheet_write_string(sheet, row, 2, text.c_str(), formats.source);
        worksheet_write_string(sheet, row, 3, text.c_str(), formats.text);
    }
    if (row > 1) {
        // A line break takes two characters of an entry.
        char rule[] = "=LEN(D2)+LEN(D2)-LEN(SUBSTITUTE(D2,CHAR(10),\"\"))>$B2";
        lxw_conditional_format longer{};
        longer.type = LXW_CONDITIONAL_TYPE_FORMULA;
        longer.value_string = rule;
        longer.format = formats.tooLong;
        worksheet_conditional_format_range(sheet, 1, 3, row - 1, 3, &longer);
    }
    const lxw_error closed = workbook_close(book);
    return closed == LXW_NO_ERROR ? Status::success() : failed(closed);
}

} // namespace

Status exportXlsx(const ReadResult& file, const CodePage& codePage, std::string& content) {
    if (file.entries.size() >= kMostRows) {
        Status status = Status::error(translate::Code::TooManyRowsForXlsx);
        status.count = file.entries.size();
        status.limit = kMostRows - 1;
        return status;
    }
    // libxlsxwriter writes to a named file only: a private scratch file, read back.
    std::string path;
    os::Result made = os::createTemporaryFile(".xlsx", path);
    if (!made.ok())
        return Status::system(std::move(made), path);
    // It opens the file, and its own scratch files in the same folder, through fopen().
    std::string name, folder;
    made = os::cLibraryPath(path, name);
    if (made.ok())
        made = os::cLibraryPath(path.substr(0, path.find_last_of("/\\")), folder);
    if (!made.ok()) {
        os::removeFile(path);
        return Status::system(std::move(made), path);
    }
    lxw_workbook_options options{};
    options.constant_memory = 1; // rows go out as they are written
    options.tmpdir = folder.data();
    lxw_workbook* book = workbook_new_opt(name.c_str(), &options);
    Status status = book ? writeBook(book, file, codePage) : failed(LXW_ERROR_CREATING_XLSX_FILE);
    if (status.ok()) {
        os::Result read = os::readWholeFile(path, content);
        if (!read.ok())
            status = Status::system(std::move(read), path);
    }
    os::removeFile(path);
    return status;
}

} // namespace edt::translate
