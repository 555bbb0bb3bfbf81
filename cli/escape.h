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

// Escaped UTF-8 -> Windows-1252 bytes. Refuses unknown escapes, malformed UTF-8 and
// characters Windows-1252 cannot hold, naming them.
Status unescape(std::string_view escaped, std::string& text);

} // namespace edt::cli
