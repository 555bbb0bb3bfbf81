// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/listed_text.h"

#include <array>
#include <cstring>
#include <string_view>

#include "cli/escape.h"
#include "record/text_codec.h"

namespace edt::cli {
namespace {

// The escaped form of the character each stored byte stands for, eight bytes per
// entry as in escapeInto: decoding and escaping a character is one load and one store.
struct EscapedStored {
    char bytes[7];
    unsigned char length;
};
static_assert(sizeof(EscapedStored) == 8 && kMaxEscapedChar <= 7);

const std::array<EscapedStored, 256>& escapedStoredTable() {
    static const std::array<EscapedStored, 256> table = [] {
        std::array<EscapedStored, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(decodeByte(static_cast<unsigned char>(b)));
            char escaped[kMaxEscapedChar + kEscapeSlack];
            const char* end = escapeInto(escaped, std::string_view(&c, 1));
            std::memcpy(t[b].bytes, escaped, sizeof t[b].bytes);
            t[b].length = static_cast<unsigned char>(end - escaped);
        }
        return t;
    }();
    return table;
}

} // namespace

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch) {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Over regular pairs the zero balance goes -1, 0, -1, 0 ..., so it cannot end the
    // text there: each pair is one character, and after the run the balance is 0 as
    // at the start of the entry. Texts are nearly always stored this way.
    const std::size_t run = regularPairRun(bytes, present);
    const auto& table = escapedStoredTable();
    for (std::size_t i = 0; i < run; i += 2) {
        const EscapedStored& e = table[bytes[i]];
        std::memcpy(out, &e, sizeof e); // the bytes past e.length are overwritten next
        out += e.length;
    }
    // Two zero bytes after the run take the balance from 0 to 2: the usual end.
    if (run + 2 <= present && bytes[run] == 0 && bytes[run + 1] == 0)
        return out;
    // The rest, from a zero balance: decoded by the exact rule, then escaped.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return escapeInto(out, std::string_view(scratch, rest));
}

} // namespace edt::cli
