#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "record/entry_line.h"

namespace edt {

// How the texts of EDT files (Windows-1252 bytes) show in the window and come back.
//
// The text box turns CR LF, a lone CR and a lone LF alike into one paragraph break,
// so lone ones travel as stand-in characters that Windows-1252 lacks (and so can
// never be part of a text): CR LF <-> paragraph break, CR <-> kLoneCrMark,
// LF <-> kLoneLfMark.
constexpr char16_t kLoneCrMark = u'\u2190';    // LEFTWARDS ARROW: back to the line start
constexpr char16_t kLoneLfMark = u'\u2193';    // DOWNWARDS ARROW: down one line
constexpr char16_t kLineBreakMark = u'\u21B5'; // DOWNWARDS ARROW WITH CORNER LEFTWARDS

// The list row for an entry: "[" + key + "] " + text on one line, each CR LF shown
// as kLineBreakMark and lone CR or LF as their marks.
QString rowText(const EntryLine& line);

// The text for QPlainTextEdit::setPlainText.
QString toEditText(std::string_view bytes);

struct EditTextBytes {
    bool ok = false;
    std::string bytes; // Windows-1252, when ok
    QString error;     // names the character that has no place in Windows-1252
};

// Back from the text box's raw text (QTextDocument::toRawText, which keeps every
// character; toPlainText would turn a no-break space into a blank). Paragraph and
// line separators, and a plain "\n", become CR LF.
EditTextBytes fromEditText(const QString& raw);

// The number of characters the raw text stands for, a line break counting as two.
int editTextLength(const QString& raw);

} // namespace edt
