// SPDX-License-Identifier: GPL-3.0-or-later
// The XLSX reader on any bytes: read or refused with a reason, never past its limit;
// every item from a row below the header, every cell not holding text named.
#include "fuzz/fuzz_support.h"
#include "translate/translate_status.h"
#include "translate/translation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using edt::StatusCode;
    edt::translate::Translation out;
    const edt::Status status =
        parseTranslation({reinterpret_cast<const char*>(data), size},
                         edt::translate::TranslationFormat::Xlsx, out, 1 << 20);
    FUZZ_CHECK(status.ok() || status.code == edt::translate::Code::UnreadableXlsx ||
               (status.code == edt::translate::Code::XlsxPartTooLarge && status.limit == 1 << 20));
    for (const edt::translate::TranslationItem& item : out.items)
        FUZZ_CHECK(item.line >= 2 && item.line <= 1048576 && !out.column.empty());
    for (const edt::translate::Problem& problem : out.problems)
        FUZZ_CHECK(problem.status.code != edt::translate::Code::CellNotText ||
                   (problem.line >= 2 && !problem.status.detail.empty()));
    return 0;
}
