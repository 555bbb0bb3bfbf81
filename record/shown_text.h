// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/status.h"

namespace edt {

// The one codec of a text outside its file: how the texts of EDT files (bytes of a
// code page) show in the windows' lists and text boxes and in the translators' CSV,
// PO and XLSX files, and how they come back. Those turn CR LF, a lone CR and a lone LF
// alike into one line break, so CR LF is the line break and lone ones travel as marks
// the code page lacks (and so can never be part of a text): CR LF <-> a line break,
// CR <-> kLoneCrMark, LF <-> kLoneLfMark. Bytes the code page leaves undefined show as
// their stand-ins (CodePage).
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

// The text of `bytes` for a window, each CR LF as `lineBreak` ("\n" for Qt's text box,
// "\r\n" for the Windows edit control, the line break mark for a list row).
std::u16string shownUtf16(std::string_view bytes, const CodePage& codePage,
                          std::u16string_view lineBreak);
// Back from a window's text: CR LF, a lone CR or LF, and the paragraph and line
// separators are each one line break, stored as CR LF. Fails on a character the code
// page lacks (NotInCharacterSet).
Status storedFromUtf16(std::u16string_view text, const CodePage& codePage, std::string& bytes);

// The text of `bytes` as translators' files hold it, in UTF-8: each CR LF a plain line
// break ("\n"), as translation tools and spreadsheets expect.
std::string shownUtf8(std::string_view bytes, const CodePage& codePage);
// Back from a translator's text: "\n" and "\r\n" (what version 1.0.1 wrote) are CR LF,
// a lone "\r" is CR. Fails on bytes that are not UTF-8 (BadUtf8) and as
// storedFromUtf16 does.
Status storedFromUtf8(std::string_view utf8, const CodePage& codePage, std::string& bytes);

} // namespace edt
