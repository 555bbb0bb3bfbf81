// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/listed_text.h"

namespace edt::cli {

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch, const Escaper& escaper) {
    return escaper.storedForms().writeEntry(out, bytes, available, entryLength, scratch);
}

} // namespace edt::cli
