// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "record/reader.h"
#include "record/shown_text.h"
#include "tests/support/test_support.h"
#include "tests/support/workbook.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/translate_status.h"
#include "translate/translator_text.h"
#include "translate/xlsx.h"

namespace edt::translate {
namespace {

// What each of test::sampleWorkbooks() reads as, in its order.
struct ReadCase {
    StatusCode status;
    std::vector<std::string> items = {};    // "line key=text"
    std::vector<std::string> problems = {}; // "line cell value kind key", its code, or
                                            // the status's detail
};

const ReadCase kReadCases[] = {
    {StatusCode::Ok, {"3 1=Zeile 1\n", "4 2=a\r\nb_x0041_ _x41_"}},
    {StatusCode::Ok,
     {},
     {"2 B2 1.1 0 1", "3 B3 2026-01-10 12:00 1 2", "4 B4 2026-01-10 1 3", "5 B5 7 0 4",
      "6 B6 FALSE 2 5", "7 B7 #DIV/0! 3 6", "8 B8 =A1&\"\" 4 7", "9 A9 8 0 -"}},
    {StatusCode::Ok,
     {},
     {"1 " + std::to_string(static_cast<int>(translate::Code::MissingColumns))}},
    {translate::Code::UnreadableXlsx, {}, {"its sheet has a cell or row out of place, A2"}},
    {translate::Code::UnreadableXlsx,
     {},
     {"its part xl/workbook.xml declares a document type or entities"}},
    {translate::Code::UnreadableXlsx, {}, {"it is not a zip archive, as every .xlsx file is"}},
    {translate::Code::XlsxPartTooLarge, {}, {"xl/workbook.xml"}},
    {translate::Code::UnreadableXlsx, {}, {"its part xl/workbook.xml is damaged"}},
};

TEST(XlsxRead, CellsAsSpreadsheetsSaveThemAndWhatIsRefused) {
    const auto workbooks = test::sampleWorkbooks();
    ASSERT_EQ(workbooks.size(), std::size(kReadCases));
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        const auto& [name, workbook] = workbooks[i];
        const ReadCase& c = kReadCases[i];
        Translation out;
        const Status status = readXlsx(workbook, 4096, out);
        EXPECT_EQ(status.code, c.status) << name;
        std::vector<std::string> items, problems;
        if (!status.ok())
            problems.push_back(status.detail);
        for (const TranslationItem& item : out.items)
            items.push_back(std::to_string(item.line) + " " + item.key + "=" + item.text);
        for (const Problem& p : out.problems)
            problems.push_back(std::to_string(p.line) + " " +
                               (p.status.code == translate::Code::CellNotText
                                    ? p.status.detail + " " + p.status.was + " " +
                                          std::to_string(p.status.count) + " " +
                                          (p.status.key ? std::to_string(*p.status.key) : "-")
                                    : std::to_string(static_cast<int>(p.status.code))));
        EXPECT_EQ(items, c.items) << name;
        EXPECT_EQ(problems, c.problems) << name;
    }
}

TEST(XlsxRead, ExportReadsBackAsItsTextsAndEveryCutIsRefused) {
    test::TempDir dir;
    const FileKind kind = kindForFileName("quests.edt");
    test::writeBytes(dir.file("quests.edt"), samples::makeImage(kind, test::trickyTexts()));
    const ReadResult file = readFile(dir.file("quests.edt"), kind);
    std::string workbook;
    ASSERT_TRUE(exportXlsx(file, test::codePage(), workbook).ok());
    Translation out;
    ASSERT_TRUE(readXlsx(workbook, 1 << 20, out).ok());
    EXPECT_TRUE(out.problems.empty());
    EXPECT_EQ(out.codePage, test::codePage().name());
    ASSERT_EQ(out.items.size(), file.entries.size());
    for (std::size_t i = 0; i < out.items.size(); ++i) {
        const std::string text = shownUtf8(file.entries[i].text, test::codePage());
        EXPECT_EQ(out.items[i].key, formatKey(file.entries[i].key));
        EXPECT_EQ(out.items[i].text, text) << i;
        EXPECT_EQ(out.items[i].source, text) << i;
    }
    // A sheet named: the one there, or one that is not, with those there.
    EXPECT_TRUE(readXlsx(workbook, 1 << 20, out, "Sheet1").ok());
    EXPECT_EQ(out.items.size(), file.entries.size());
    EXPECT_EQ(readXlsx(workbook, 1 << 20, out, "pl").detail,
              "it has no sheet named \"pl\" (its sheets: \"Sheet1\")");
    // Each cut at the end of its own allocation, so that a sanitizer sees any over-read;
    // every cut of the end record, whose fields minizip reads one byte at a time.
    for (std::size_t size = 0; size < workbook.size();
         size += size + 30 < workbook.size() ? 7 : 1) {
        const auto cut = std::make_unique<char[]>(size);
        std::memcpy(cut.get(), workbook.data(), size);
        EXPECT_EQ(readXlsx({cut.get(), size}, 1 << 20, out).code, translate::Code::UnreadableXlsx)
            << size;
    }
}

} // namespace
} // namespace edt::translate
