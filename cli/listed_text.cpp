// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/listed_text.h"

#include <string_view>

#include "record/text_codec.h"

namespace edt::cli {

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch, const Escaper& escaper) {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Texts are nearly always stored as regular pairs: one character each, and the text
    // cannot end inside the run (regularPairRun).
    const std::size_t run = regularPairRun(bytes, present);
    out = escaper.storedForms().writeRun(out, bytes, run);
    if (zeroPairAt(bytes, present, run))
        return out;
    // The rest, from a zero balance: decoded by the exact rule, then escaped.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return escaper.escapeInto(out, std::string_view(scratch, rest));
}

} // namespace edt::cli
