// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/translation.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "platform/file.h"
#include "translate/csv.h"
#include "translate/po.h"

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

Status readCsv(std::string_view content, Translation& out) {
    std::vector<csv::Record> records = csv::parse(content, out.problems);
    if (records.empty()) {
        if (out.problems.empty())
            out.problems.push_back({0, "The file is empty; it needs the header line key,text."});
        return Status::success();
    }
    const auto& header = records.front().fields;
    if (header.size() < 2 || lowerCase(header[0]) != "key" || lowerCase(header[1]) != "text" ||
        !emptyFrom(header, 2)) {
        out.problems.push_back(
            {records.front().line,
             "The first line must be the header key,text, with fields separated by commas as "
             "edt-tool export writes them."});
        return Status::success();
    }
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const std::vector<std::string>& fields = record->fields;
        if (emptyFrom(fields, 0))
            continue; // blank line
        if (fields.size() < 2) {
            out.problems.push_back({record->line, "The line has no text field; give key,text."});
            continue;
        }
        if (!emptyFrom(fields, 2)) {
            out.problems.push_back({record->line, "The line has more than two fields; quote a "
                                                  "text that holds commas."});
            continue;
        }
        // Moved, not copied: the translation is held about twice at most.
        out.items.push_back(
            {record->line, std::move(record->fields[0]), std::move(record->fields[1]), false});
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
    Status status = po::read(content, catalog, out.problems);
    if (!status.ok())
        return status;
    if (!isUtf8(catalog.charset)) {
        out.problems.push_back({0, "The file is in the character set " + catalog.charset +
                                       "; convert it to UTF-8 first (msgconv --to-code=UTF-8)."});
        return Status::success();
    }
    out.codePage = catalog.codePage;
    for (po::Message& message : catalog.messages) {
        TranslationItem item{message.line, message.context.value_or(""), message.msgstr,
                             message.fuzzy};
        if (message.hasPlural) {
            out.problems.push_back({message.line, "The message has plural forms; an EDT entry "
                                                  "holds one text."});
            continue;
        }
        if (!message.context && item.translated()) {
            out.problems.push_back({message.line, "The message has no msgctxt, so it names no "
                                                  "entry; the key belongs there."});
            continue;
        }
        out.items.push_back(std::move(item));
    }
    return Status::success();
}

} // namespace

std::optional<TranslationFormat> formatOfName(std::string_view name) {
    const std::string lower = lowerCase(name);
    if (lower == "csv")
        return TranslationFormat::Csv;
    if (lower == "po")
        return TranslationFormat::Po;
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

Status parseTranslation(std::string_view content, TranslationFormat format, Translation& out) {
    out = {};
    return format == TranslationFormat::Csv ? readCsv(content, out) : readPo(content, out);
}

Status readTranslation(const std::string& path, TranslationFormat format, Translation& out,
                       std::uint64_t limit) {
    Status tooLarge = Status::error(StatusCode::TranslationTooLarge, path);
    tooLarge.limit = limit;
    os::FileIdentity id;
    if (path != "-" && os::identityAt(path, id) && id.size > limit)
        return tooLarge;
    try {
        std::string content;
        const auto most = static_cast<std::size_t>(std::min<std::uint64_t>(limit, SIZE_MAX - 1));
        os::Result read =
            path == "-" ? os::readStandardInput(content, most) : os::readWholeFile(path, content);
        if (!read.ok())
            return Status::system(std::move(read), path);
        if (content.size() > limit)
            return tooLarge;
        return parseTranslation(content, format, out);
    } catch (const std::bad_alloc&) {
        out = {};
        return Status::error(StatusCode::TranslationOutOfMemory, path);
    }
}

} // namespace edt::translate
