// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/text_codec.h"

#include "record/code_page.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace edt {

std::size_t regularPairRun(const unsigned char* bytes, std::size_t present) {
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

std::size_t decodeEntryTo(const unsigned char* bytes, std::size_t available,
                          std::size_t entryLength, char* out) {
    const std::size_t present = available < entryLength ? available : entryLength;
    char* const start = out;
    // The leading run of regular pairs is decoded in bulk; the byte-by-byte rule
    // takes over after it, from a zero balance.
    const std::size_t run = regularPairRun(bytes, present);
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i above32 = _mm_set1_epi8(33);
    for (; i + 16 <= run; i += 16, out += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        // The 16-bit units are the character codes: pack them to bytes, then minus
        // one where the code is 33 or more (that mask is -1).
        __m128i c = _mm_packus_epi16(v, v);
        c = _mm_add_epi8(c, _mm_cmpeq_epi8(_mm_max_epu8(c, above32), c));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), c);
    }
#endif
    for (; i < run; i += 2)
        *out++ = static_cast<char>(decodeByte(bytes[i]));

    int balance = 0;
    for (; i < entryLength; ++i) {
        const unsigned char b = i < available ? bytes[i] : 0;
        if (b == 0) {
            if (++balance == 2)
                break;
        } else {
            --balance;
            *out++ = static_cast<char>(decodeByte(b));
        }
    }
    return static_cast<std::size_t>(out - start);
}

std::string decodeEntry(const unsigned char* bytes, std::size_t available,
                        std::size_t entryLength) {
    std::string text(entryLength, '\0');
    text.resize(decodeEntryTo(bytes, available, entryLength, text.data()));
    return text;
}

Status checkStorable(std::string_view text, const CodePage& codePage) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0 || c == 255) {
            Status status = Status::error(StatusCode::UnstorableCharacter);
            status.character = codePage.toUnicode(c);
            status.position = i + 1;
            status.codePage = codePage.name();
            return status;
        }
    }
    return Status::success();
}

std::string encodeText(std::string_view text) {
    std::string bytes(text.size() * 2 + 4, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[2 * i] = static_cast<char>(encodeChar(static_cast<unsigned char>(text[i])));
    return bytes;
}

} // namespace edt
