// SPDX-License-Identifier: GPL-3.0-or-later
// The XLSX reader on any bytes: read or refused with a reason, never past its limit;
// every item from a row below the header, every problem at a row or the whole file.
#include "fuzz/fuzz_support.h"
#include "translate/translation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using edt::StatusCode;
    constexpr std::uint64_t kLimit = 1 << 20;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    edt::translate::Translation translation;
    const edt::Status status =
        parseTranslation(input, edt::translate::TranslationFormat::Xlsx, translation, kLimit);
    FUZZ_CHECK(status.ok() || status.code == StatusCode::UnreadableXlsx ||
               status.code == StatusCode::XlsxPartTooLarge);
    FUZZ_CHECK(status.code != StatusCode::XlsxPartTooLarge || status.limit == kLimit);
    for (const edt::translate::TranslationItem& item : translation.items) {
        FUZZ_CHECK(item.line >= 2 && item.line <= 1048576);
        FUZZ_CHECK(!translation.column.empty());
    }
    for (const edt::translate::Problem& problem : translation.problems) {
        FUZZ_CHECK(problem.line <= 1048576);
        FUZZ_CHECK(problem.status.code != StatusCode::CellNotText ||
                   (problem.line >= 2 && !problem.status.detail.empty()));
    }
    return 0;
}
