// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/entry_line.h"
#include "record/file_kind.h"

namespace edt::test {

// The list line of an entry: "[" + key + "] " + text.
std::string lineOf(const EntryLine& entry);

// A list line taken apart again: the key from the digits between "[" and "]", the
// text from everything after "] ". For seven-digit keys this is the fixed-width rule
// (key in characters 2-8, text after the first ten characters).
std::optional<EntryLine> parseLine(std::string_view line);

// Every entry of a file image held in memory, as the file of that size lists (bytes
// past `size` read as zero): the reader's result without a file.
std::vector<EntryLine> decodeEntries(const unsigned char* data, std::size_t size,
                                     const FileKind& kind);

} // namespace edt::test
