// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translate/problem.h"

// Comma-separated values as RFC 4180 has them: records end with CR LF, fields that
// hold a comma, a quote or a line break are quoted, and a quote inside a quoted field
// is doubled. Bytes pass through unchanged (the files are UTF-8).
namespace edt::translate::csv {

inline constexpr char kRecordEnd[] = "\r\n";

// Appends one field, quoted only when it needs to be.
void appendField(std::string& out, std::string_view field);

struct Record {
    std::size_t line = 0; // line on which the record starts, counted from 1
    std::vector<std::string> fields;
};

// The separator of fields the header line uses: the first comma, semicolon or tab on
// it (spreadsheets in many European locales write semicolons); a comma when none.
char separatorOf(std::string_view data);

// Splits CSV text into records with fields separated by `separator`. A record ends
// with CR LF, LF or CR; inside a quoted field every byte, line breaks included, is
// kept as it stands. A UTF-8 byte order mark at the start is skipped. Malformed
// quoting is reported with its line; after a quote that is never closed nothing
// further can be read.
std::vector<Record> parse(std::string_view data, std::vector<Problem>& problems,
                          char separator = ',');

} // namespace edt::translate::csv
