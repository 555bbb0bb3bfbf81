// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/code_page.h"

namespace edt {

// The visible stand-ins for line breaks wherever a text leaves its file: the windows'
// text boxes, and the translators' CSV and PO files. Those turn CR LF, a lone CR and a
// lone LF alike into one line break, so lone ones travel as characters the code page
// lacks (and so can never be part of a text): CR LF <-> a line break, CR <->
// kLoneCrMark, LF <-> kLoneLfMark.
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

} // namespace edt
