// SPDX-License-Identifier: GPL-3.0-or-later
// A build without libxlsxwriter, minizip and expat: XLSX is refused, CSV and PO work.
#include "translate/xlsx.h"

namespace edt::translate {

bool xlsxSupported() {
    return false;
}

std::uint64_t xlsxLimit(std::uint64_t csvLimit) {
    return csvLimit;
}

std::string cellName(std::size_t column, std::size_t row) {
    return std::to_string(column) + ":" + std::to_string(row);
}

Status exportXlsx(const ReadResult&, const CodePage&, std::string&) {
    return Status::error(StatusCode::NoXlsxSupport);
}

Status readXlsx(std::string_view, std::uint64_t, Translation&) {
    return Status::error(StatusCode::NoXlsxSupport);
}

} // namespace edt::translate
