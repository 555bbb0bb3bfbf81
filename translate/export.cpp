// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/export.h"

#include <algorithm>
#include <ctime>

#include "edt/version.h"
#include "record/text_codec.h"
#include "translate/csv.h"
#include "translate/po.h"
#include "translate/translator_text.h"
#include "translate/xlsx.h"

namespace edt::translate {

ShownLimits::ShownLimits(const FileKind& kind, std::uint64_t fileSize)
    : layout_(kind, fileSize),
      split_(kind.isSplit()), captions_{captionLimit(kind, false), captionLimit(kind, true)} {}

int ShownLimits::operator()(std::size_t index) const {
    const int caption = captions_[split_ && index % 2 == 1];
    return std::min(caption, maxCharsForEntry(layout_.presentOf(index)));
}

namespace {

std::string csvOf(const ReadResult& file, const CodePage& codePage) {
    std::string content = "key,max,";
    csv::appendField(content, sourceColumn(codePage.name()));
    content += ",text";
    content += csv::kRecordEnd;
    const ShownLimits limits(file.kind, file.identity.size);
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const EntryLine& entry = file.entries[i];
        const std::string text = toTranslatorText(entry.text, codePage);
        content += formatKey(entry.key) + ',' + std::to_string(limits(i)) + ',';
        csv::appendField(content, text);
        content += ',';
        csv::appendField(content, text);
        content += csv::kRecordEnd;
    }
    return content;
}

// A file's modification time as PO headers give dates ("2026-12-07 18:30+0000").
std::string poDate(std::int64_t modifiedNs) {
    const std::time_t seconds = static_cast<std::time_t>(modifiedNs / 1000000000);
    char date[32] = "";
    if (const std::tm* utc = std::gmtime(&seconds))
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M+0000", utc);
    return date;
}

Status poOf(const ReadResult& file, const std::string& fileTitle, const CodePage& codePage,
            std::string& content) {
    // The fields gettext's checks want; those of the translation (Language above all,
    // which chooses the code page an import writes in) stay empty for msginit or a
    // translation tool to fill.
    const std::string date = poDate(file.identity.modifiedNs);
    po::Writer writer({{"Project-Id-Version", fileTitle},
                       {"POT-Creation-Date", date},
                       {"PO-Revision-Date", date},
                       {"Last-Translator", ""},
                       {"Language-Team", ""},
                       {"Language", ""},
                       {"MIME-Version", "1.0"},
                       {"Content-Type", "text/plain; charset=UTF-8"},
                       {"Content-Transfer-Encoding", "8bit"},
                       {"X-Generator", std::string("edt-tool ") + kVersionString},
                       {po::kCodePageField, codePage.name()}});
    const EntryLayout layout(file.kind, file.identity.size);
    const ShownLimits limits(file.kind, file.identity.size);
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const EntryLine& entry = file.entries[i];
        // The flag is for Weblate; gettext's own tools (msginit, msgmerge) drop flags
        // they do not know, so the comment says the limit too.
        const std::string limit = std::to_string(limits(i));
        writer.add(formatKey(entry.key), toTranslatorText(entry.text, codePage),
                   "The key is the entry's byte position in the file.\nAt most " + limit +
                       " characters, a line break counting as two (the entry takes " +
                       std::to_string(maxCharsForEntry(layout.presentOf(i))) + ").",
                   "max-length:" + limit);
    }
    return writer.render(content);
}

} // namespace

Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   const CodePage& codePage, std::string& content) {
    if (format == TranslationFormat::Po)
        return poOf(file, fileTitle, codePage, content);
    if (format == TranslationFormat::Xlsx)
        return exportXlsx(file, codePage, content);
    content = csvOf(file, codePage);
    return Status::success();
}

} // namespace edt::translate
