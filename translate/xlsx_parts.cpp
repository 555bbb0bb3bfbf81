// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/xlsx_parts.h"

#include <cstdlib>
#include <map>

#include "translate/translate_status.h"
#include "translate/xml_parser.h"

namespace edt::translate::xlsx {
namespace {

// The sheets' names and relationships, in the workbook's order.
struct WorkbookHandler : XmlHandler {
    std::vector<std::pair<std::string, std::string>> sheets; // name, relationship
    void start(std::string_view name, const char** attributes) override {
        if (name == "sheet")
            sheets.emplace_back(attributeOf(attributes, "name"), attributeOf(attributes, "id"));
    }
    void end(std::string_view) override {}
    void text(std::string_view) override {}
};

struct RelationshipsHandler : XmlHandler {
    std::map<std::string, std::string> targets; // by id
    std::string sharedStrings, styles;
    void start(std::string_view name, const char** attributes) override {
        if (name != "Relationship")
            return;
        const std::string target = partPath(attributeOf(attributes, "Target"));
        const std::string_view type = attributeOf(attributes, "Type");
        targets[std::string(attributeOf(attributes, "Id"))] = target;
        const auto endsWith = [type](std::string_view tail) {
            return type.size() >= tail.size() && type.substr(type.size() - tail.size()) == tail;
        };
        if (endsWith("/sharedStrings"))
            sharedStrings = target;
        else if (endsWith("/styles"))
            styles = target;
    }
    void end(std::string_view) override {}
    void text(std::string_view) override {}

    // Targets are relative to xl/, or absolute from the archive's root.
    static std::string partPath(std::string_view target) {
        if (!target.empty() && target.front() == '/')
            return std::string(target.substr(1));
        return "xl/" + std::string(target);
    }
};

// Texts of <si> items: every <t> not inside a phonetic run (<rPh>).
struct StringsHandler : XmlHandler {
    std::vector<std::string>* out;
    std::string current;
    bool inText = false;
    int phonetic = 0;
    void start(std::string_view name, const char**) override {
        if (name == "si")
            current.clear();
        else if (name == "rPh")
            ++phonetic;
        else if (name == "t")
            inText = phonetic == 0;
    }
    void end(std::string_view name) override {
        if (name == "si")
            out->push_back(unescaped(current));
        else if (name == "rPh")
            --phonetic;
        else if (name == "t")
            inText = false;
    }
    void text(std::string_view text) override {
        if (inText)
            current.append(text);
    }
};

// Whether a number format's code shows a date or time: d, m, y, h or s outside
// quotes, brackets and escapes.
bool isDateCode(std::string_view code) {
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"')
            i = code.find('"', i + 1);
        else if (c == '[')
            i = code.find(']', i + 1);
        else if (c == '\\' || c == '_' || c == '*')
            ++i;
        else if (std::string_view("dmyhsDMYHS").find(c) != std::string_view::npos)
            return true;
        if (i == std::string_view::npos)
            return false;
    }
    return false;
}

bool isBuiltInDate(long id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

struct StylesHandler : XmlHandler {
    std::vector<bool>* out;
    std::map<long, bool> customDates;
    bool inCellFormats = false;
    void start(std::string_view name, const char** attributes) override {
        const long id =
            std::strtol(std::string(attributeOf(attributes, "numFmtId")).c_str(), nullptr, 10);
        if (name == "numFmt")
            customDates[id] = isDateCode(attributeOf(attributes, "formatCode"));
        else if (name == "cellXfs")
            inCellFormats = true;
        else if (name == "xf" && inCellFormats) {
            const auto custom = customDates.find(id);
            out->push_back(custom != customDates.end() ? custom->second : isBuiltInDate(id));
        }
    }
    void end(std::string_view name) override {
        if (name == "cellXfs")
            inCellFormats = false;
    }
    void text(std::string_view) override {}
};

// "D12" → column 3, row 12; false when it is not a cell's name.
bool parseCellName(std::string_view name, std::size_t& column, std::size_t& row) {
    std::size_t i = 0;
    column = 0;
    while (i < name.size() && i < 3 && name[i] >= 'A' && name[i] <= 'Z')
        column = column * 26 + static_cast<std::size_t>(name[i++] - 'A' + 1);
    if (i == 0)
        return false;
    --column;
    row = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && row <= 1048576; ++i)
        row = row * 10 + static_cast<std::size_t>(name[i] - '0');
    return i == name.size() && row >= 1 && row <= 1048576 && column < 16384;
}

struct SheetHandler : XmlHandler {
    std::vector<Row>* out;
    std::string badName;
    Cell cell;
    bool inCell = false, inValue = false, inFormula = false, inInline = false, inText = false;
    int phonetic = 0;
    std::size_t nextColumn = 0;

    void start(std::string_view name, const char** attributes) override {
        if (name == "row") {
            const std::string_view number = attributeOf(attributes, "r");
            Row row;
            row.number = number.empty() ? (out->empty() ? 1 : out->back().number + 1)
                                        : std::strtoul(std::string(number).c_str(), nullptr, 10);
            if (row.number == 0 || row.number > 1048576 ||
                (!out->empty() && row.number <= out->back().number))
                badName = std::string(number);
            out->push_back(std::move(row));
            nextColumn = 0;
        } else if (name == "c" && !out->empty()) {
            cell = Cell();
            inCell = true;
            const std::string_view reference = attributeOf(attributes, "r");
            std::size_t row = out->back().number;
            if (reference.empty())
                cell.column = nextColumn;
            else if (!parseCellName(reference, cell.column, row) || row != out->back().number ||
                     cell.column < nextColumn)
                badName = std::string(reference);
            nextColumn = cell.column + 1;
            const std::string_view type = attributeOf(attributes, "t");
            cell.type = type == "s"           ? 's'
                        : type == "inlineStr" ? 'i'
                        : type == "str"       ? 'f'
                        : type == "b"         ? 'b'
                        : type == "e"         ? 'e'
                        : type == "d"         ? 'd'
                                              : 'n';
            cell.style =
                std::strtoul(std::string(attributeOf(attributes, "s")).c_str(), nullptr, 10);
        } else if (inCell) {
            if (name == "v")
                inValue = true;
            else if (name == "f")
                inFormula = cell.formula = true;
            else if (name == "is")
                inInline = true;
            else if (name == "rPh")
                ++phonetic;
            else if (name == "t")
                inText = inInline && phonetic == 0;
        }
    }
    void end(std::string_view name) override {
        if (name == "c" && inCell) {
            inCell = false;
            if (cell.type == 'i')
                cell.value = unescaped(cell.value);
            out->back().cells.push_back(std::move(cell));
        } else if (name == "v")
            inValue = false;
        else if (name == "f")
            inFormula = false;
        else if (name == "is")
            inInline = false;
        else if (name == "rPh")
            --phonetic;
        else if (name == "t")
            inText = false;
    }
    void text(std::string_view text) override {
        if (inFormula)
            cell.formulaText.append(text);
        else if (inValue && cell.type != 'i')
            cell.value.append(text);
        else if (inText)
            cell.value.append(text);
    }
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            int code = 0;
            bool hex = true;
            for (std::size_t j = i + 2; j < i + 6; ++j) {
                const int digit = hexDigit(text[j]);
                hex = hex && digit >= 0;
                code = code * 16 + digit;
            }
            // Only the codes that need the escape: controls and the underscore itself.
            if (hex && (code < 0x20 || code == 0x5F)) {
                out += static_cast<char>(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

Status bookParts(std::string_view workbook, std::string_view relationships,
                 const std::string& sheetName, BookParts& out) {
    WorkbookHandler book;
    Status status = parseXml(workbook, "xl/workbook.xml", book);
    RelationshipsHandler links;
    if (status.ok())
        status = parseXml(relationships, "xl/_rels/workbook.xml.rels", links);
    if (!status.ok())
        return status;
    auto chosen = book.sheets.begin();
    while (!sheetName.empty() && chosen != book.sheets.end() && chosen->first != sheetName)
        ++chosen;
    const auto sheet =
        chosen == book.sheets.end() ? links.targets.end() : links.targets.find(chosen->second);
    if (sheet == links.targets.end()) {
        status = Status::error(translate::Code::UnreadableXlsx);
        status.detail =
            sheetName.empty() ? "it has no sheet" : "it has no sheet named \"" + sheetName + "\"";
        for (std::size_t i = 0; !sheetName.empty() && i < book.sheets.size(); ++i)
            status.detail += (i ? ", \"" : " (its sheets: \"") + book.sheets[i].first + "\"" +
                             (i + 1 == book.sheets.size() ? ")" : "");
        return status;
    }
    out = {sheet->second, links.sharedStrings, links.styles};
    return Status::success();
}

Status sharedStrings(std::string_view xml, std::vector<std::string>& out) {
    StringsHandler handler;
    handler.out = &out;
    return parseXml(xml, "xl/sharedStrings.xml", handler);
}

Status dateStyles(std::string_view xml, std::vector<bool>& out) {
    StylesHandler handler;
    handler.out = &out;
    return parseXml(xml, "xl/styles.xml", handler);
}

Status sheetRows(std::string_view xml, const std::string& name, std::vector<Row>& out) {
    SheetHandler handler;
    handler.out = &out;
    Status status = parseXml(xml, name, handler);
    if (status.ok() && !handler.badName.empty()) {
        status = Status::error(translate::Code::UnreadableXlsx);
        status.detail = "its sheet has a cell or row out of place, " + handler.badName;
    }
    return status;
}

} // namespace edt::translate::xlsx
