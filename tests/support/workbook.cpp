// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/workbook.h"

#include <minizip/zip.h>

#include "tests/support/test_support.h"

namespace edt::test {

std::string zipOf(const std::vector<std::pair<std::string, std::string>>& files) {
    TempDir dir;
    const std::string path = dir.file("zipped.zip");
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const auto& [name, content] : files) {
        zip_fileinfo info{};
        ok = ok &&
             zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) ==
                 ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zip && zipClose(zip, nullptr) == ZIP_OK && ok;
    return ok ? readBytes(path) : std::string();
}

std::string workbookOf(const std::string& sheetData, const std::string& strings,
                       const std::string& styles) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const auto link = [&rel](const std::string& id, const std::string& type,
                             const std::string& target) {
        return "<Relationship Id=\"" + id + "\" Type=\"" + rel + "/" + type + "\" Target=\"" +
               target + "\"/>";
    };
    return zipOf({{"xl/workbook.xml", "<workbook xmlns:r=\"" + rel +
                                          "\"><sheets><sheet r:id=\"rId1\"/></sheets></workbook>"},
                  {"xl/_rels/workbook.xml.rels",
                   "<Relationships>" + link("rId1", "worksheet", "worksheets/sheet1.xml") +
                       link("rId2", "sharedStrings", "sharedStrings.xml") +
                       link("rId3", "styles", "/xl/styles.xml") + "</Relationships>"},
                  {"xl/worksheets/sheet1.xml",
                   "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
                  {"xl/sharedStrings.xml", "<sst>" + strings + "</sst>"},
                  {"xl/styles.xml", styles.empty() ? "<styleSheet/>" : styles}});
}

std::vector<std::pair<std::string, std::string>> sampleWorkbooks() {
    const auto text = [](const std::string& cell, const std::string& value) {
        return "<c r=\"" + cell + "\" t=\"inlineStr\"><is><t>" + value + "</t></is></c>";
    };
    const std::string header = "<row r=\"1\">" + text("A1", "key") + text("B1", "text") + "</row>";
    // Row N + 2: key N + 1 and in B a number, a date and time, a date of a format of its
    // own, a number of a format that only looks like one, a boolean, an error, a formula.
    const char* const notText[] = {"><v>1.1</v>",
                                   " s=\"1\"><v>46032.5</v>",
                                   " s=\"3\"><v>46032</v>",
                                   " s=\"2\"><v>7</v>",
                                   " t=\"b\"><v>0</v>",
                                   " t=\"e\"><v>#DIV/0!</v>",
                                   " t=\"str\"><f>A1&amp;\"\"</f><v>key</v>"};
    std::string cells = header;
    for (int i = 0; i < 7; ++i) {
        const std::string row = std::to_string(i + 2);
        cells += "<row r=\"" + row + "\">" + text("A" + row, std::to_string(i + 1)) + "<c r=\"B" +
                 row + "\"" + notText[i] + "</c></row>";
    }
    cells += "<row r=\"9\"><c r=\"A9\"><v>8</v></c>" + text("B9", "x") + "</row>";
    const std::string styles =
        "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"[Red]&quot;h&quot;0.0\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"dd/mm\"/></numFmts><cellXfs><xf numFmtId=\"0\"/>"
        "<xf numFmtId=\"14\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs></styleSheet>";
    const std::string large = zipOf({{"xl/workbook.xml", std::string(5000, ' ')}});
    std::string liar = large;
    for (const auto& [mark, at] :
         {std::pair<std::string, std::size_t>{"PK\3\4", 22}, {"PK\1\2", 24}})
        for (auto i = liar.find(mark); i != std::string::npos; i = liar.find(mark, i + 1))
            liar.replace(i + at, 4, std::string("\x0A\0\0\0", 4)); // "10 bytes unpacked"
    return {
        {"shared strings, rich text, phonetic runs, escapes",
         workbookOf("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v>"
                    "</c></row><row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"C3\" "
                    "t=\"s\"><v>3</v></c></row><row><c t=\"inlineStr\"><is><r><t>2</t></r></is>"
                    "</c><c/><c t=\"inlineStr\"><is><t>a_x000D_&#10;b_x005F_x0041_ _x41_</t>"
                    "</is></c></row>",
                    "<si><t>key</t></si><si><t> Text </t></si><si><t>1</t></si><si><r><t>Zei</t>"
                    "</r><r><rPr><b/></rPr><t xml:space=\"preserve\">le 1\n</t></r><rPh><t>X</t>"
                    "</rPh></si>")},
        {"cells that hold no text", workbookOf(cells, "", styles)},
        {"no key column", workbookOf("<row r=\"1\">" + text("B1", "text") + "</row>")},
        {"cells out of order",
         workbookOf(header + "<row r=\"2\">" + text("B2", "x") + text("A2", "1") + "</row>")},
        {"an external entity",
         zipOf({{"xl/workbook.xml", "<!DOCTYPE workbook [<!ENTITY e SYSTEM \"/etc/passwd\">]>"
                                    "<workbook>&e;</workbook>"}})},
        {"not a zip", "key,text\r\n1,x\r\n"},
        {"a part larger than 4096 bytes", large},
        {"a part that claims less than it holds", liar},
    };
}

} // namespace edt::test
