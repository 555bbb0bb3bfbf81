// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/stored_forms_avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

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

// Characters per round: their closed-up groups of four go to a buffer at fixed places
// first, then to `out`. Stored straight to `out`, each group's address would wait for
// the previous group's length, and the next steps' loads behind it (twice as slow).
constexpr std::size_t kRound = 256;

} // namespace

std::uint32_t slotForm(std::uint32_t form, std::size_t length) {
    return length == 3 ? (form & 0xFF) | (form & 0xFFFF00) << 8 : form;
}

__attribute__((target("avx2"))) char* writeFormsAvx2(char* out, const unsigned char* pairs,
                                                     std::size_t count,
                                                     const std::uint32_t* slots) {
    const __m256i lengthBytes =
        _mm256_setr_epi8(1, 3, 5, 7, 9, 11, 13, 15, -1, -1, -1, -1, -1, -1, -1, -1, 1, 3, 5, 7, 9,
                         11, 13, 15, -1, -1, -1, -1, -1, -1, -1, -1);
    alignas(16) char groups[kRound / 4][16];
    std::uint8_t lengths[kRound / 4];
    for (std::size_t start = 0; start < count; start += kRound) {
        const std::size_t end = count - start < kRound ? count : start + kRound;
        std::size_t group = 0;
        for (std::size_t i = start; i < end; i += 8, group += 2) {
            const unsigned char* p = pairs + 2 * i;
            // Eight table loads: on the CPUs measured a gather was slower.
            __m128i low = _mm_cvtsi32_si128(static_cast<int>(slots[p[0]]));
            low = _mm_insert_epi32(low, static_cast<int>(slots[p[2]]), 1);
            low = _mm_insert_epi32(low, static_cast<int>(slots[p[4]]), 2);
            low = _mm_insert_epi32(low, static_cast<int>(slots[p[6]]), 3);
            __m128i high = _mm_cvtsi32_si128(static_cast<int>(slots[p[8]]));
            high = _mm_insert_epi32(high, static_cast<int>(slots[p[10]]), 1);
            high = _mm_insert_epi32(high, static_cast<int>(slots[p[12]]), 2);
            high = _mm_insert_epi32(high, static_cast<int>(slots[p[14]]), 3);
            const __m256i form = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
            const unsigned index = ~static_cast<unsigned>(_mm256_movemask_epi8(
                _mm256_cmpeq_epi8(_mm256_shuffle_epi8(form, lengthBytes), _mm256_setzero_si256())));
            const unsigned first = index & 0xFF;
            const unsigned second = (index >> 16) & 0xFF;
            _mm_store_si128(reinterpret_cast<__m128i*>(groups[group]),
                            _mm_shuffle_epi8(_mm256_castsi256_si128(form),
                                             _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                 kCompaction.shuffle[first]))));
            _mm_store_si128(reinterpret_cast<__m128i*>(groups[group + 1]),
                            _mm_shuffle_epi8(_mm256_extracti128_si256(form, 1),
                                             _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                 kCompaction.shuffle[second]))));
            lengths[group] = kCompaction.length[first];
            lengths[group + 1] = kCompaction.length[second];
        }
        for (std::size_t g = 0; g < group; ++g) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                             _mm_load_si128(reinterpret_cast<const __m128i*>(groups[g])));
            out += lengths[g];
        }
    }
    return out;
}

} // namespace edt

#else

namespace edt {

std::uint32_t slotForm(std::uint32_t form, std::size_t) {
    return form;
}

char* writeFormsAvx2(char* out, const unsigned char*, std::size_t, const std::uint32_t*) {
    return out; // never chosen: availablePaths offers no AVX2 here
}

} // namespace edt

#endif
