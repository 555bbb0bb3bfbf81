// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_case.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace edt::os {

char32_t lowerCase(char32_t character) {
    // The program's own locale may be C, which knows only ASCII letters.
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (!unicode)
        return character < 0x80 ? static_cast<char32_t>(std::towlower(character)) : character;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(character), unicode));
}

} // namespace edt::os
