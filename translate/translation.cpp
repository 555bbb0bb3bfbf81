// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/translation.h"

#include <algorithm>
#include <cctype>

#include "record/utf8.h"
#include "translate/csv.h"
#include "translate/po.h"
#include "translate/translate_status.h"
#include "translate/xlsx.h"

namespace edt::translate {
namespace {

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// True when every field from `first` on is empty (or there is none).
bool emptyFrom(const std::vector<std::string>& fields, std::size_t first) {
    return std::all_of(fields.begin() + std::min(first, fields.size()), fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

// A problem for input that ends in the middle: the last line lacks its line break.
bool cutOff(std::string_view content, std::vector<Problem>& problems) {
    if (content.empty() || content.back() == '\n' || content.back() == '\r')
        return false;
    Status status = Status::error(translate::Code::CutOffTranslation);
    status.detail = "its last line has no line break";
    problems.push_back(
        {static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1, status});
    return true;
}

// The line of the first byte that is not UTF-8; 0 when all is.
std::size_t firstNonUtf8Line(std::string_view content) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < content.size();) {
        char32_t cp = 0;
        if (!nextCodePoint(content, i, cp))
            return line;
        line += cp == '\n';
    }
    return 0;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos
               ? std::string()
               : lowerCase(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

Status readCsv(std::string_view content, Translation& out) {
    if (const std::size_t line = firstNonUtf8Line(content)) {
        Status status = Status::error(translate::Code::NotUtf8Csv);
        status.position = line;
        out.problems.push_back({line, status});
        return Status::success();
    }
    if (cutOff(content, out.problems))
        return Status::success();
    std::vector<csv::Record> records = csv::parse(content, out.problems, csv::separatorOf(content));
    if (records.empty()) {
        if (out.problems.empty())
            out.problems.push_back(problemAt(0, translate::Code::EmptyTranslation));
        return Status::success();
    }
    const auto& header = records.front().fields;
    const Columns columns = columnsOf(header, records.front().line, out);
    if (!columns.complete())
        return Status::success();
    const auto field = [](const std::vector<std::string>& fields, std::size_t i) {
        return i < fields.size() ? fields[i] : std::string();
    };
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const std::vector<std::string>& fields = record->fields;
        if (emptyFrom(fields, 0))
            continue; // blank line
        if (!emptyFrom(fields, header.size())) {
            out.problems.push_back(problemAt(record->line, translate::Code::TooManyFields));
            continue;
        }
        TranslationItem item;
        item.line = record->line;
        item.key = field(fields, *columns.key);
        item.text = field(fields, *columns.text);
        if (columns.source)
            item.source = field(fields, *columns.source);
        out.items.push_back(std::move(item));
    }
    return Status::success();
}

bool isUtf8(std::string charset) {
    charset = lowerCase(charset);
    // "CHARSET" is the placeholder of a fresh template; ASCII is a part of UTF-8.
    return charset.empty() || charset == "utf-8" || charset == "utf8" || charset == "charset" ||
           charset == "ascii" || charset == "us-ascii";
}

Status readPo(std::string_view content, Translation& out) {
    po::Catalog catalog;
    Status status = readPoCatalog(content, catalog, out.problems);
    if (!status.ok())
        return status;
    out.codePage = catalog.codePage;
    out.language = catalog.language;
    for (po::Message& message : catalog.messages)
        out.items.push_back({message.line, message.context.value_or(""), std::move(message.msgstr),
                             message.fuzzy, std::move(message.msgid)});
    return Status::success();
}

} // namespace

Status readPoCatalog(std::string_view content, po::Catalog& catalog,
                     std::vector<Problem>& problems) {
    catalog = {};
    if (cutOff(content, problems))
        return Status::success();
    Status status = po::read(content, catalog, problems);
    if (!status.ok())
        return status;
    if (!isUtf8(catalog.charset)) {
        problems.push_back(problemAt(0, translate::Code::NotUtf8Po, catalog.charset));
        catalog.messages.clear();
        return Status::success();
    }
    std::vector<po::Message> readable;
    readable.reserve(catalog.messages.size());
    for (po::Message& message : catalog.messages) {
        if (message.hasPlural)
            problems.push_back(problemAt(message.line, translate::Code::PluralMessage));
        else if (!message.context && !message.msgstr.empty() && !message.fuzzy)
            problems.push_back(problemAt(message.line, translate::Code::NoContext));
        else
            readable.push_back(std::move(message));
    }
    catalog.messages = std::move(readable);
    return Status::success();
}

Columns columnsOf(const std::vector<std::string>& header, std::size_t line, Translation& out) {
    // "source (Windows-1252)" names the source's code page.
    Columns columns;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = trimmed(header[i]);
        if (name == "key")
            columns.key = i;
        else if (name == "text")
            columns.text = i;
        else if (name == "source" || name.rfind("source (", 0) == 0) {
            columns.source = i;
            if (name.size() > 8 && name.back() == ')')
                out.codePage =
                    std::string(header[i]).substr(header[i].find('(') + 1, name.size() - 9);
        } else if (name != "max" && !name.empty()) {
            out.problems.push_back(problemAt(line, translate::Code::UnknownColumn, header[i]));
        }
    }
    if (!columns.complete())
        out.problems.push_back(problemAt(line, translate::Code::MissingColumns));
    return columns;
}

std::string sourceColumn(const std::string& codePage) {
    return "source (" + codePage + ")";
}

std::optional<TranslationFormat> formatOfName(std::string_view name) {
    const std::string lower = lowerCase(name);
    if (lower == "csv")
        return TranslationFormat::Csv;
    if (lower == "po")
        return TranslationFormat::Po;
    if (lower == "xlsx")
        return TranslationFormat::Xlsx;
    return std::nullopt;
}

std::optional<TranslationFormat> formatOfPath(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    const std::string extension = lowerCase(path.substr(dot + 1));
    return extension == "pot" ? TranslationFormat::Po : formatOfName(extension);
}

Status parseTranslation(std::string_view content, TranslationFormat format, Translation& out,
                        std::uint64_t limit, const std::string& sheet) {
    out = {};
    if (format == TranslationFormat::Xlsx)
        return readXlsx(content, limit, out, sheet);
    return format == TranslationFormat::Csv ? readCsv(content, out) : readPo(content, out);
}

} // namespace edt::translate
