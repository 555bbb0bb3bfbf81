// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/stored_forms_avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace edt {
namespace {

// Forms lie in four bytes as slotForm() places them, so that bytes 1 and 3 being zero
// or not tell the length: 1 (0, 0), 2 (1, 0), 3 (0, 1), 4 (1, 1). For four forms those
// eight bits index the byte shuffle that closes them up, and the length of the result.
struct Compaction {
    alignas(16) std::uint8_t shuffle[256][16];
    std::uint8_t length[256];

    Compaction() {
        static constexpr std::uint8_t kBytes[4][4] = {{0}, {0, 1}, {0, 2, 3}, {0, 1, 2, 3}};
        for (unsigned index = 0; index < 256; ++index) {
            unsigned used = 0;
            for (unsigned k = 0; k < 4; ++k) {
                const unsigned bits = (index >> (2 * k)) & 3;
                const unsigned length = bits == 0 ? 1 : bits == 1 ? 2 : bits == 2 ? 3 : 4;
                for (unsigned b = 0; b < length; ++b)
                    shuffle[index][used++] =
                        static_cast<std::uint8_t>(4 * k + kBytes[length - 1][b]);
            }
            length[index] = static_cast<std::uint8_t>(used);
            for (unsigned j = used; j < 16; ++j)
                shuffle[index][j] = 0x80; // a zero byte, overwritten next
        }
    }
};

const Compaction kCompaction;

// Byte shuffles that move sixteen bytes down by 0-17 places.
struct Shift {
    alignas(16) std::uint8_t from[18][16];

    Shift() {
        for (unsigned k = 0; k <= 17; ++k)
            for (unsigned j = 0; j < 16; ++j)
                from[k][j] = static_cast<std::uint8_t>(k + j < 16 ? k + j : 0x80);
    }
};

const Shift kShift;

// The characters of `c` after the k-th.
__attribute__((target("avx2"))) inline __m128i after(__m128i c, int k) {
    return _mm_shuffle_epi8(c,
                            _mm_load_si128(reinterpret_cast<const __m128i*>(kShift.from[k + 1])));
}

// Up to this many characters of sixteen that are not their own form (nearly every
// step of a text in a Latin script) are written between the plain ones copied; with
// more (most of a Cyrillic or Greek text), all sixteen forms are looked up.
constexpr int kFewOthers = 2;

__attribute__((target("avx2"))) inline __m128i formsOfFour(const unsigned char* chars,
                                                           const std::uint32_t* slots) {
    __m128i form = _mm_cvtsi32_si128(static_cast<int>(slots[chars[0]]));
    form = _mm_insert_epi32(form, static_cast<int>(slots[chars[1]]), 1);
    form = _mm_insert_epi32(form, static_cast<int>(slots[chars[2]]), 2);
    return _mm_insert_epi32(form, static_cast<int>(slots[chars[3]]), 3);
}

// Writes the forms of `count` characters (a multiple of four) through the
// slot table: four table loads, then one shuffle closes the four forms up.
__attribute__((target("avx2"))) char* writeLookedUp(char* out, const unsigned char* chars,
                                                    int count, const std::uint32_t* slots) {
    const __m128i lengthBytes =
        _mm_setr_epi8(1, 3, 5, 7, 9, 11, 13, 15, -1, -1, -1, -1, -1, -1, -1, -1);
    for (int k = 0; k < count; k += 4) {
        const __m128i form = formsOfFour(chars + k, slots);
        const unsigned index = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
                                   _mm_shuffle_epi8(form, lengthBytes), _mm_setzero_si128()))) &
                               0xFF;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(form, _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                    kCompaction.shuffle[index]))));
        out += kCompaction.length[index];
    }
    return out;
}

} // namespace

std::uint32_t slotForm(std::uint32_t form, std::size_t length) {
    return length == 3 ? (form & 0xFF) | (form & 0xFFFF00) << 8 : form;
}

__attribute__((target("avx2"))) char* writeRunAvx2(char* out, const unsigned char* bytes,
                                                   std::size_t present, std::size_t& run,
                                                   const Avx2Forms& forms) {
    // Out of the structure: stores through `out` could otherwise change them.
    const std::uint32_t* const formOf = forms.forms;
    const unsigned char* const lengths = forms.lengths;
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m128i from33 = _mm_set1_epi8(33);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i rowsLow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(forms.plainRows[0]));
    const __m128i rowsHigh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(forms.plainRows[1]));
    const __m128i bitOfRow =
        _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    alignas(16) unsigned char chars[32] = {}; // the step's characters
    std::size_t i = 0;
    for (; i + 32 <= present; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        // Bit k set where byte k is zero: sixteen regular pairs have the odd bits only.
        const unsigned irregular = static_cast<unsigned>(_mm256_movemask_epi8(
                                       _mm256_cmpeq_epi8(v, _mm256_setzero_si256()))) ^
                                   0xAAAAAAAAu;
        // The run's characters in this step (a bit past the last pair: no branch).
        const int count = __builtin_ctzll(irregular | 1ull << 32) / 2;
        // The low bytes are the stored characters; minus one from 33 up.
        const __m256i packed =
            _mm256_packus_epi16(_mm256_and_si256(v, lowBytes), _mm256_setzero_si256());
        __m128i c = _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
        c = _mm_add_epi8(c, _mm_cmpeq_epi8(_mm_max_epu8(c, from33), c));
        // Plain: the bit of the character's row (c / 16) in its column (c % 16).
        const __m128i column = _mm_and_si128(c, nibble);
        const __m128i row = _mm_and_si128(_mm_srli_epi16(c, 4), nibble);
        const __m128i rows = _mm_blendv_epi8(_mm_shuffle_epi8(rowsLow, column),
                                             _mm_shuffle_epi8(rowsHigh, column), c);
        const __m128i bit = _mm_shuffle_epi8(bitOfRow, row);
        unsigned others = ~static_cast<unsigned>(
                              _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(rows, bit), bit))) &
                          ((1u << count) - 1);
        _mm_store_si128(reinterpret_cast<__m128i*>(chars), c);
        if (__builtin_popcount(others) > kFewOthers) {
            out = writeLookedUp(out, chars, count & ~3, forms.slots);
            for (int k = count & ~3; k < count; ++k) {
                std::memcpy(out, &formOf[chars[k]], 4);
                out += lengths[chars[k]];
            }
        } else {
            // The plain characters are copied, the others' forms written between them,
            // without a branch on where they are: a text has one in fourteen or so, at
            // places no branch predictor can guess. Where each piece goes depends only
            // on where the step starts, so that steps overlap. Past the last other
            // character `k` is `count`: what is written there is past the end.
            unsigned at = others | (~0u << count);
            const int k1 = std::min(__builtin_ctz(at), count);
            at &= at - 1;
            const int k2 = std::min(__builtin_ctz(at), count);
            // The bytes each form adds beyond one (masks, not branches).
            const int d1 = (lengths[chars[k1]] - 1) & -static_cast<int>(k1 < count);
            const int d2 = (lengths[chars[k2]] - 1) & -static_cast<int>(k2 < count);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), c);
            std::memcpy(out + k1, &formOf[chars[k1]], 4);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k1 + 1 + d1), after(c, k1));
            std::memcpy(out + k2 + d1, &formOf[chars[k2]], 4);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k2 + 1 + d1 + d2), after(c, k2));
            out += count + d1 + d2;
        }
        if (irregular) {
            run = i + 2 * static_cast<std::size_t>(count);
            return out;
        }
    }
    run = i;
    return out;
}

} // namespace edt

#else

namespace edt {

std::uint32_t slotForm(std::uint32_t form, std::size_t) {
    return form;
}

char* writeRunAvx2(char* out, const unsigned char*, std::size_t, std::size_t& run,
                   const Avx2Forms&) {
    run = 0; // never chosen: availablePaths offers no AVX2 here
    return out;
}

} // namespace edt

#endif
