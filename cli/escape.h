// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/status.h"

namespace edt::cli {

// Texts on the command line are UTF-8 with escapes, so that every byte of an entry
// survives a terminal: \\ \r \n \t, and \xHH (two hex digits) for the other control
// codes, 127 and the five bytes Windows-1252 leaves undefined.

// Appends the escaped UTF-8 form of a Windows-1252 text.
void appendEscaped(std::string& out, std::string_view text);
std::string escape(std::string_view text);

// The longest escaped form of one character ("\x81"), and the room escapeInto needs
// beyond it: it may store up to 8 bytes past what it keeps.
constexpr std::size_t kMaxEscapedChar = 4;
constexpr std::size_t kEscapeSlack = 8;

// Writes the escaped form of `text` at `out`, which has room for
// kMaxEscapedChar * text.size() + kEscapeSlack bytes, and returns the end of what it
// wrote. The fast form of appendEscaped, for listings of millions of lines.
char* escapeInto(char* out, std::string_view text);

// Escaped UTF-8 -> Windows-1252 bytes. Refuses unknown escapes, malformed UTF-8 and
// characters Windows-1252 cannot hold, naming them.
Status unescape(std::string_view escaped, std::string& text);

} // namespace edt::cli
