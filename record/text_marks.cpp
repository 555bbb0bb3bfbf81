// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/text_marks.h"

namespace edt {

TextMarks marksFor(const CodePage& codePage) {
    const auto free = [&](char16_t mark, char16_t otherwise) {
        return codePage.fromUnicode(mark) ? otherwise : mark;
    };
    return {free(kLoneCrMark, u'\u240D'), free(kLoneLfMark, u'\u240A'),
            free(kLineBreakMark, u'\u23CE')};
}

} // namespace edt
