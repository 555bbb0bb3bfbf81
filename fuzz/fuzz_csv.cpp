// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader on any bytes: records and fields with the header's separator, which
// written anew read back the same; as a translation, problems or items, and no
// problem-free reading of input that ends in the middle of a line.
#include "fuzz/fuzz_support.h"
#include "translate/csv.h"
#include "translate/translation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace csv = edt::translate::csv;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const char separator = csv::separatorOf(input);
    FUZZ_CHECK(separator == ',' || separator == ';' || separator == '\t');
    std::vector<edt::translate::Problem> problems;
    const std::vector<csv::Record> records = csv::parse(input, problems, separator);

    // After a byte order mark of its own, so that a field starting with one stays.
    std::string written = "\xEF\xBB\xBF";
    for (const csv::Record& record : records) {
        FUZZ_CHECK(record.line >= 1 && !record.fields.empty());
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            if (i > 0)
                written += ',';
            csv::appendField(written, record.fields[i]);
        }
        written += csv::kRecordEnd;
    }
    std::vector<edt::translate::Problem> again;
    const std::vector<csv::Record> reread = csv::parse(written, again);
    FUZZ_CHECK(again.empty());
    FUZZ_CHECK(reread.size() == records.size());
    for (std::size_t i = 0; i < reread.size() && i < records.size(); ++i)
        FUZZ_CHECK(reread[i].fields == records[i].fields);

    edt::translate::Translation translation;
    FUZZ_CHECK(parseTranslation(input, edt::translate::TranslationFormat::Csv, translation).ok());
    FUZZ_CHECK(!translation.problems.empty() || input.empty() || input.back() == '\n' ||
               input.back() == '\r');
    for (const edt::translate::TranslationItem& item : translation.items)
        FUZZ_CHECK(item.line >= 2);
    return 0;
}
