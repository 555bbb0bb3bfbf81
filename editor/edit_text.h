// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/status.h"

namespace edt {

// How the texts of EDT files (bytes of a code page) show in a window's list and text
// box, and come back, the same for every toolkit.
//
// Text boxes turn CR LF, a lone CR and a lone LF alike into one line break, so lone
// ones travel as stand-in characters the character set lacks (and so can never be
// part of a text): CR LF <-> a line break, CR <-> kLoneCrMark, LF <-> kLoneLfMark.
// Bytes the code page leaves undefined show as their stand-ins (CodePage).
constexpr char16_t kLoneCrMark = u'\u2190';    // LEFTWARDS ARROW: back to the line start
constexpr char16_t kLoneLfMark = u'\u2193';    // DOWNWARDS ARROW: down one line
constexpr char16_t kLineBreakMark = u'\u21B5'; // DOWNWARDS ARROW WITH CORNER LEFTWARDS

// The marks for texts of a code page: the ones above, or for a code page that holds
// one of them (a few do) the control pictures for CR and LF, and RETURN SYMBOL.
struct TextMarks {
    char16_t loneCr;
    char16_t loneLf;
    char16_t lineBreak;
};
TextMarks marksFor(const CodePage& codePage);

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

} // namespace edt
