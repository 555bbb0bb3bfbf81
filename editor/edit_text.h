// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/shown_text.h"
#include "record/status.h"

namespace edt {

// How the texts of EDT files (bytes of a code page) show in a window's list and text
// box, and come back, the same for every toolkit.
//
// A text box's text comes and goes through record/shown_text.h, whose marks show line
// breaks in the list too.

// The list row for an entry: "[" + key + "] " + text on one line, each CR LF shown
// as kLineBreakMark and lone CR or LF as their marks.
std::u16string rowText(const EntryLine& line, const CodePage& codePage);

// A label's text as bytes, for the digits of a key: other characters become '?'.
std::string asciiOf(std::u16string_view text);

// The number of characters a text box's text stands for, a line break counting as
// two (CR and LF), a character outside the BMP as one.
int editTextLength(std::u16string_view text);

// Whether a text box shows the text right to left: its first letter is of a script
// written that way (Hebrew, Arabic, Syriac, Thaana, N'Ko ...). Digits and marks are
// passed by; a text without letters goes left to right.
bool startsRightToLeft(std::u16string_view text);

} // namespace edt
