// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/utf8.h"

namespace edt {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool nextCodePoint(std::string_view utf8, std::size_t& at, char32_t& codePoint) {
    if (at >= utf8.size())
        return false;
    const auto lead = static_cast<unsigned char>(utf8[at]);
    char32_t cp = 0;
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F;
        length = 2;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        length = 3;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07;
        length = 4;
        minimum = 0x10000;
    }
    bool valid = length != 0 && at + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[at + k]);
        valid = (next & 0xC0) == 0x80;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (valid && length > 1)
        valid = cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp < 0xE000);
    if (!valid)
        return false;
    codePoint = cp;
    at += length;
    return true;
}

std::u16string utf16Of(std::string_view utf8) {
    std::u16string text;
    char32_t c = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        if (!nextCodePoint(utf8, at, c)) {
            c = 0xFFFD;
            ++at;
        }
        if (c > 0xFFFF) { // a surrogate pair
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            c = 0xDC00 + ((c - 0x10000) & 0x3FF);
        }
        text += static_cast<char16_t>(c);
    }
    return text;
}

} // namespace edt
