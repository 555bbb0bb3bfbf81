// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/export.h"

#include <algorithm>
#include <ctime>

#include "edt/version.h"
#include "record/shown_text.h"
#include "record/text_codec.h"
#include "translate/csv.h"
#include "translate/plural_forms.h"
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
        const std::string text = shownUtf8(entry.text, codePage);
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

} // namespace

po::Catalog poCatalog(const ReadResult& file, const std::string& fileTitle,
                      const CodePage& codePage, const std::string& language) {
    // The fields gettext's checks want. In a template those of the translation
    // (Language above all, which chooses the code page an import writes in) stay empty
    // for msginit or a translation tool to fill.
    const std::string date = poDate(file.identity.modifiedNs);
    const bool translation = !language.empty();
    po::Header header{{"Project-Id-Version", fileTitle},
                      {"POT-Creation-Date", date},
                      {"PO-Revision-Date", date},
                      {"Last-Translator", translation ? "Automatically generated" : ""},
                      {"Language-Team", translation ? "none" : ""},
                      {"Language", language},
                      {"MIME-Version", "1.0"},
                      {"Content-Type", "text/plain; charset=UTF-8"},
                      {"Content-Transfer-Encoding", "8bit"},
                      {"X-Generator", std::string("edt-tool ") + kVersionString},
                      {po::kCodePageField, codePage.name()}};
    if (translation)
        header.emplace_back("Plural-Forms", pluralForms(language));
    po::Catalog catalog;
    catalog.header.msgstr = po::headerText(header);
    catalog.charset = "UTF-8";
    catalog.codePage = codePage.name();
    catalog.language = language;
    const EntryLayout layout(file.kind, file.identity.size);
    const ShownLimits limits(file.kind, file.identity.size);
    catalog.messages.reserve(file.entries.size());
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const EntryLine& entry = file.entries[i];
        // The flag is for Weblate; gettext's own tools (msginit, msgmerge) drop flags
        // they do not know, so the comment says the limit too.
        const std::string limit = std::to_string(limits(i));
        po::Message message;
        message.context = formatKey(entry.key);
        message.msgid = shownUtf8(entry.text, codePage);
        message.extractedComments = "The key is the entry's byte position in the file.\nAt most " +
                                    limit +
                                    " characters, a line break counting as two (the entry takes " +
                                    std::to_string(maxCharsForEntry(layout.presentOf(i))) + ").\n";
        message.flag = "max-length:" + limit;
        catalog.messages.push_back(std::move(message));
    }
    return catalog;
}

Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   const CodePage& codePage, std::string& content, const std::string& language) {
    if (format == TranslationFormat::Po)
        return po::render(poCatalog(file, fileTitle, codePage, language), content);
    if (format == TranslationFormat::Xlsx)
        return exportXlsx(file, codePage, content);
    content = csvOf(file, codePage);
    return Status::success();
}

} // namespace edt::translate
