// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

// Zip archives made member by member, for workbooks a test or a fuzz corpus needs
// exactly as it wants them (damaged ones too).
namespace edt::test {

struct ZipMember {
    std::string name;
    std::string content;
    bool deflate = true;
    // What the archive claims, when it should lie; otherwise the content's size.
    long long claimedSize = -1;
};

std::string zipOf(const std::vector<ZipMember>& members);

// A workbook of one sheet: `sheetData` is the XML inside <sheetData>, `strings` the
// items inside <sst> (none: no shared strings part), `styles` the whole styles part
// (none: none).
std::string workbookOf(const std::string& sheetData, const std::string& strings = {},
                       const std::string& styles = {});

} // namespace edt::test
