// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

// Workbooks made part by part, as a test or a fuzz corpus wants them, zipped by minizip
// (in the Windows tests too, where no zip program runs).
namespace edt::test {

// The files (name, content) as a zip archive.
std::string zipOf(const std::vector<std::pair<std::string, std::string>>& files);

// A workbook of one sheet: `sheetData` is the XML inside <sheetData>, `strings` the
// items inside <sst>, `styles` the whole styles part (none: an empty one).
std::string workbookOf(const std::string& sheetData, const std::string& strings = {},
                       const std::string& styles = {});

// Workbooks as spreadsheets save them and as they must not be: rich text, escapes,
// cells that hold no text, declarations, a part larger than 4096 bytes unpacked and one
// that lies about its size; each with its name.
std::vector<std::pair<std::string, std::string>> sampleWorkbooks();

} // namespace edt::test
