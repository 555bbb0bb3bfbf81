// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/edit_text.h"
#include "record/shown_text.h"

namespace edt {
namespace {

bool isBreak(char32_t c) {
    return c == u'\u2029' || c == u'\u2028' || c == u'\n' || c == u'\r';
}

// The code point at `i` of UTF-16 text, moving `i` past it.
char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
    const char16_t c = text[i++];
    if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
    return c;
}

// Steps over a line break at `i` (CR LF counts once).
void skipBreak(std::u16string_view text, std::size_t& i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
    ++i;
}

} // namespace

std::u16string rowText(const EntryLine& line, const CodePage& codePage) {
    std::u16string row = u"[";
    for (const char digit : formatKey(line.key))
        row += static_cast<char16_t>(digit);
    row += u"] ";
    const char16_t mark = marksFor(codePage).lineBreak;
    return row + shownUtf16(line.text, codePage, std::u16string_view(&mark, 1));
}

std::string asciiOf(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

int editTextLength(std::u16string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (isBreak(text[i])) {
            skipBreak(text, i);
            count += 2;
        } else {
            nextCodePoint(text, i);
            ++count;
        }
    }
    return count;
}

bool startsRightToLeft(std::u16string_view text) {
    for (const char16_t c : text) {
        // The right-to-left blocks of the BMP, and the presentation forms of Hebrew and
        // Arabic.
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
            (c >= 0xFE70 && c <= 0xFEFC))
            return true;
        // A letter of a script written left to right: Latin, Greek, Cyrillic,
        // Armenian, and the letters beyond the right-to-left blocks (Thai, CJK ...).
        // Combining marks, spacing modifiers and the signs of Latin-1 decide nothing.
        const bool latinLetter = (c | 0x20) >= u'a' && (c | 0x20) <= u'z';
        const bool otherLetter = (c >= 0x00C0 && c <= 0x058F && c != 0x00D7 && c != 0x00F7 &&
                                  !(c >= 0x02B9 && c <= 0x036F)) ||
                                 (c >= 0x0900 && c < 0x2000) || (c >= 0x3040 && c < 0xD800);
        if (latinLetter || otherLetter)
            return false;
    }
    return false;
}

} // namespace edt
