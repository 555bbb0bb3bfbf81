// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/status.h"
#include "record/text_marks.h"

namespace edt {

// How the texts of EDT files (bytes of a code page) show in a window's list and text
// box, and come back, the same for every toolkit.
//
// Line breaks show as the marks of record/text_marks.h; bytes the code page leaves
// undefined show as their stand-ins (CodePage).

// The list row for an entry: "[" + key + "] " + text on one line, each CR LF shown
// as kLineBreakMark and lone CR or LF as their marks.
std::u16string rowText(const EntryLine& line, const CodePage& codePage);

// The text for a text box whose line break is `lineBreak` ("\n" for Qt's, "\r\n" for
// the Windows edit control).
std::u16string toEditText(std::string_view bytes, std::u16string_view lineBreak,
                          const CodePage& codePage);

// Back from a text box's text: CR LF, a lone CR or LF, and the paragraph and line
// separators are each one line break, stored as CR LF. Fails on a character the code
// page lacks (NotInCharacterSet).
Status fromEditText(std::u16string_view text, const CodePage& codePage, std::string& bytes);

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
