// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "record/escaped_text.h"

namespace edt::cli {

// Writes the escaped form of one stored entry's text at `out`: the same bytes as
// escaper.escapeInto(out, decodeEntry(bytes, available, entryLength)), in one pass over
// the stored bytes. `out` has room for Escaper::kMaxEscapedChar * entryLength +
// Escaper::kSlack bytes and `scratch` for entryLength characters. Returns the end of
// what it wrote.
char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch, const Escaper& escaper);

} // namespace edt::cli
