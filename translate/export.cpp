// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/export.h"

#include "edt/version.h"
#include "record/text_codec.h"
#include "translate/csv.h"
#include "translate/csv_records.h"
#include "translate/po.h"

namespace edt::translate {
namespace {

std::string csvOf(const std::vector<EntryLine>& entries, const CodePage& codePage) {
    const CsvRecords records(codePage);
    std::string content(CsvRecords::kHeader);
    for (const EntryLine& entry : entries) {
        const std::size_t used = content.size();
        content.resize(used + CsvRecords::room(2 * entry.text.size()));
        content.resize(static_cast<std::size_t>(
            records.write(content.data() + used, entry.key, entry.text) - content.data()));
    }
    return content;
}

Status poOf(const ReadResult& file, const std::string& fileTitle, const CodePage& codePage,
            std::string& content) {
    po::Writer writer({{"Project-Id-Version", fileTitle},
                       {"MIME-Version", "1.0"},
                       {"Content-Type", "text/plain; charset=UTF-8"},
                       {"Content-Transfer-Encoding", "8bit"},
                       {"X-Generator", std::string("edt-tool ") + kVersionString},
                       {po::kCodePageField, codePage.name()}});
    const EntryLayout layout(file.kind, file.identity.size);
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const EntryLine& entry = file.entries[i];
        const int most = maxCharsForEntry(layout.lengthOf(i));
        writer.add(formatKey(entry.key), codePage.toUtf8(entry.text),
                   "at most " + std::to_string(most) + " characters");
    }
    return writer.render(content);
}

} // namespace

Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   const CodePage& codePage, std::string& content) {
    if (format == TranslationFormat::Po)
        return poOf(file, fileTitle, codePage, content);
    content = csvOf(file.entries, codePage);
    return Status::success();
}

} // namespace edt::translate
