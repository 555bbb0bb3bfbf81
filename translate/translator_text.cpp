// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/translator_text.h"

#include "record/shown_text.h"
#include "record/utf8.h"

namespace edt::translate {

std::string shortView(std::string_view utf8, std::size_t most) {
    std::string out;
    std::size_t count = 0, i = 0;
    while (i < utf8.size() && count < most) {
        const std::size_t start = i;
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp))
            ++i;
        out += cp == '\n' ? std::string_view("\\n") : utf8.substr(start, i - start);
        ++count;
    }
    return i < utf8.size() ? out + "..." : out;
}

} // namespace edt::translate
