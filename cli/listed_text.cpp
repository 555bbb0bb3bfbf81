// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/listed_text.h"

#include <cstring>
#include <string_view>

#include "cli/escape_avx2.h"
#include "record/text_codec.h"

namespace edt::cli {

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch, const Escaper& escaper) {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Texts are nearly always stored as regular pairs: one character each, and the text
    // cannot end inside the run (regularPairRun).
    const std::size_t run = regularPairRun(bytes, present);
    std::size_t i = 0;
    if (escaper.path() == VectorPath::Avx2) {
        const std::size_t steps = run / 16 * 8; // characters in whole steps of eight
        out = escapePairsAvx2(out, bytes, steps, escaper.storedForms());
        i = 2 * steps;
    }
    for (; i < run; i += 2) {
        const Escaper::Escaped& e = escaper.ofStoredByte(bytes[i]);
        std::memcpy(out, &e, sizeof e); // the bytes past e.length are overwritten next
        out += e.length;
    }
    if (zeroPairAt(bytes, present, run))
        return out;
    // The rest, from a zero balance: decoded by the exact rule, then escaped.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return escaper.escapeInto(out, std::string_view(scratch, rest));
}

} // namespace edt::cli
