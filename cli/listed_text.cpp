#include "cli/listed_text.h"

#include <array>
#include <cstring>
#include <string_view>

#include "cli/escape.h"
#include "record/text_codec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The length of the leading run of regular pairs (a character byte, then a zero
// byte) among the first `present` bytes.
std::size_t regularRun(const unsigned char* bytes, std::size_t present) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= present; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        // Bit k set where byte k is zero: regular pairs have the odd bits only.
        const unsigned irregular =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))) ^ 0xAAAAu;
        if (irregular != 0)
            return i + 2 * (static_cast<std::size_t>(__builtin_ctz(irregular)) / 2);
    }
#endif
    for (; i + 2 <= present && bytes[i] != 0 && bytes[i + 1] == 0; i += 2) {
    }
    return i;
}

} // namespace

char* writeListedText(char* out, const unsigned char* bytes, std::size_t available,
                      std::size_t entryLength, char* scratch) {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Over regular pairs the zero balance goes -1, 0, -1, 0 ..., so it cannot end the
    // text there: each pair is one character, and after the run the balance is 0 as
    // at the start of the entry. Texts are nearly always stored this way.
    const std::size_t run = regularRun(bytes, present);
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
