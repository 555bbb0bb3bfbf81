// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_case.h"

#include <windows.h>

namespace edt::os {

char32_t lowerCase(char32_t character) {
    if (character > 0xFFFF)
        return character;
    wchar_t in = static_cast<wchar_t>(character), out = in;
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, &in, 1, &out, 1, nullptr, nullptr,
                      0) != 1)
        return character;
    return out;
}

} // namespace edt::os
