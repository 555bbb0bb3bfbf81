// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace edt::cli {

// Writes the escaped form of one stored entry's text at `out`: the same bytes as
// escapeInto(out, decodeEntry(bytes, available, entryLength)), in one pass over the
// stored bytes. `out` has room for kMaxEscapedChar * entryLength + kEscapeSlack
// bytes and `scratch` for entryLength characters. Returns the end of what it wrote.
char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch);

} // namespace edt::cli
