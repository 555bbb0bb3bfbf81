// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "record/reader.h"
#include "tests/support/test_support.h"
#include "tests/support/zip_builder.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/translator_text.h"
#include "translate/xlsx.h"

namespace edt::translate {
namespace {

using test::workbookOf;
using test::zipOf;

// A cell holding the inline string `text`.
std::string inlineCell(const std::string& name, const std::string& text) {
    return "<c r=\"" + name + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}
const std::string kHeader =
    "<row r=\"1\">" + inlineCell("A1", "key") + inlineCell("B1", "text") + "</row>";
const std::string kStyles = "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"[Red]"
                            "&quot;h&quot;0.0\"/><numFmt numFmtId=\"165\" formatCode=\"dd/mm\"/>"
                            "</numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf "
                            "numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs></styleSheet>";

struct ReadCase {
    const char* name;
    std::string workbook;
    StatusCode status;
    std::vector<std::string> items;    // "line key=text"
    std::vector<std::string> problems; // "line detail was count key"
};

std::vector<ReadCase> readCases() {
    return {
        {"shared strings, rich text, phonetic runs, escapes",
         workbookOf("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v>"
                    "</c></row><row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"C3\" "
                    "t=\"s\"><v>3</v></c></row><row><c t=\"inlineStr\"><is><r><t>2</t></r></is>"
                    "</c><c/><c t=\"inlineStr\"><is><t>a_x000D_&#10;b_x005F_x0041_ _x41_</t>"
                    "</is></c></row>",
                    "<si><t>key</t></si><si><t> Text </t></si><si><t>1</t></si><si><r><t>Zei</t>"
                    "</r><r><rPr><b/></rPr><t xml:space=\"preserve\">le 1\n</t></r><rPh><t>X</t>"
                    "</rPh></si>"),
         StatusCode::Ok,
         {"3 1=Zeile 1\n", "4 2=a\r\nb_x0041_ _x41_"},
         {}},
        {"cells that hold no text",
         workbookOf(kHeader + "<row r=\"2\">" + inlineCell("A2", "1") +
                        "<c r=\"B2\"><v>1.1</v></c></row><row r=\"3\">" + inlineCell("A3", "2") +
                        "<c r=\"B3\" s=\"1\"><v>46032.5</v></c></row><row r=\"4\">" +
                        inlineCell("A4", "3") +
                        "<c r=\"B4\" s=\"3\"><v>46032</v></c></row>"
                        "<row r=\"5\">" +
                        inlineCell("A5", "4") +
                        "<c r=\"B5\" s=\"2\"><v>7</v>"
                        "</c></row><row r=\"6\">" +
                        inlineCell("A6", "5") +
                        "<c r=\"B6\" t=\"b\">"
                        "<v>0</v></c></row><row r=\"7\">" +
                        inlineCell("A7", "6") +
                        "<c r=\"B7\" "
                        "t=\"e\"><v>#DIV/0!</v></c></row><row r=\"8\">" +
                        inlineCell("A8", "7") +
                        "<c r=\"B8\" t=\"str\"><f>A1&amp;\"\"</f><v>key</v></c></row><row r=\"9\">"
                        "<c r=\"A9\"><v>8</v></c>" +
                        inlineCell("B9", "x") + "</row>",
                    "", kStyles),
         StatusCode::Ok,
         {},
         {"2 B2 1.1 0 1", "3 B3 2026-01-10 12:00 1 2", "4 B4 2026-01-10 1 3", "5 B5 7 0 4",
          "6 B6 FALSE 2 5", "7 B7 #DIV/0! 3 6", "8 B8 =A1&\"\" 4 7", "9 A9 8 0 -"}},
        {"no key column",
         workbookOf("<row r=\"1\">" + inlineCell("B1", "text") + "</row>"),
         StatusCode::Ok,
         {},
         {"1 " + std::to_string(static_cast<int>(StatusCode::MissingColumns))}},
        {"document type",
         workbookOf("</sheetData></worksheet><!DOCTYPE x [<!ENTITY e SYSTEM \"/etc/passwd\">]>"),
         StatusCode::UnreadableXlsx,
         {},
         {}},
        {"cells out of order",
         workbookOf(kHeader + "<row r=\"2\">" + inlineCell("B2", "x") + inlineCell("A2", "1") +
                    "</row>"),
         StatusCode::UnreadableXlsx,
         {},
         {}},
        {"not a zip", "key,text\r\n1,x\r\n", StatusCode::UnreadableXlsx, {}, {}},
        {"a member larger than the limit",
         zipOf({{"xl/workbook.xml", std::string(5000, ' ')}}),
         StatusCode::XlsxPartTooLarge,
         {},
         {}},
        {"a member that claims less than it holds, not followed",
         zipOf({{"xl/workbook.xml", std::string(5000, ' '), true, 10}}),
         StatusCode::UnreadableXlsx,
         {},
         {}},
    };
}

TEST(XlsxRead, CellsAsSpreadsheetsSaveThemAndWhatIsRefused) {
    for (const ReadCase& c : readCases()) {
        Translation out;
        const Status status = readXlsx(c.workbook, 4096, out);
        EXPECT_EQ(status.code, c.status) << c.name << ": " << status.detail;
        std::vector<std::string> items, problems;
        for (const TranslationItem& item : out.items)
            items.push_back(std::to_string(item.line) + " " + item.key + "=" + item.text);
        for (const Problem& p : out.problems)
            problems.push_back(std::to_string(p.line) + " " +
                               (p.status.code == StatusCode::CellNotText
                                    ? p.status.detail + " " + p.status.was + " " +
                                          std::to_string(p.status.count) + " " +
                                          (p.status.key ? std::to_string(*p.status.key) : "-")
                                    : std::to_string(static_cast<int>(p.status.code))));
        EXPECT_EQ(items, c.items) << c.name;
        EXPECT_EQ(problems, c.problems) << c.name;
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
        const std::string text = toTranslatorText(file.entries[i].text, test::codePage());
        EXPECT_EQ(out.items[i].key, formatKey(file.entries[i].key));
        EXPECT_EQ(out.items[i].text, text) << i;
        EXPECT_EQ(out.items[i].source, text) << i;
    }
    // Each cut at the end of its own allocation, so that a sanitizer sees any over-read.
    for (std::size_t size = 0; size < workbook.size(); size += 7) {
        const auto cut = std::make_unique<char[]>(size);
        std::memcpy(cut.get(), workbook.data(), size);
        EXPECT_EQ(readXlsx({cut.get(), size}, 1 << 20, out).code, StatusCode::UnreadableXlsx)
            << size;
    }
}

} // namespace
} // namespace edt::translate
