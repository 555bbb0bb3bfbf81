// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/listed_text.h"

#include <cstring>
#include <string_view>

#include "record/text_codec.h"

namespace edt::cli {

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch, const Escaper& escaper) {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Over regular pairs the zero balance goes -1, 0, -1, 0 ..., so it cannot end the
    // text there: each pair is one character, and after the run the balance is 0 as
    // at the start of the entry. Texts are nearly always stored this way.
    const std::size_t run = regularPairRun(bytes, present);
    for (std::size_t i = 0; i < run; i += 2) {
        const Escaper::Escaped& e = escaper.ofStoredByte(bytes[i]);
        std::memcpy(out, &e, sizeof e); // the bytes past e.length are overwritten next
        out += e.length;
    }
    // Two zero bytes after the run take the balance from 0 to 2: the usual end.
    if (run + 2 <= present && bytes[run] == 0 && bytes[run + 1] == 0)
        return out;
    // The rest, from a zero balance: decoded by the exact rule, then escaped.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return escaper.escapeInto(out, std::string_view(scratch, rest));
}

} // namespace edt::cli
