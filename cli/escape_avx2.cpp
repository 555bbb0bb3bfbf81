// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/escape_avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace edt::cli {
namespace {

// The byte shuffles that close up four escaped forms of 1-4 bytes each, held in four
// bytes apiece, and the length of the result. Indexed as the step below computes it:
// minus the sum of (length - 1) << 2k over the four forms k, modulo 256.
struct Compaction {
    alignas(16) std::uint8_t shuffle[256][16];
    std::uint8_t length[256];

    Compaction() {
        for (unsigned code = 0; code < 256; ++code) {
            const unsigned index = (256 - code) & 0xFF;
            unsigned used = 0;
            for (unsigned k = 0; k < 4; ++k) {
                for (unsigned b = 0; b <= ((code >> (2 * k)) & 3); ++b)
                    shuffle[index][used++] = static_cast<std::uint8_t>(4 * k + b);
            }
            length[index] = static_cast<std::uint8_t>(used);
            for (unsigned j = used; j < 16; ++j)
                shuffle[index][j] = 0x80; // a zero byte, overwritten by the next step
        }
    }
};

const Compaction& compaction() {
    static const Compaction table;
    return table;
}

} // namespace

__attribute__((target("avx2"))) char* escapePairsAvx2(char* out, const unsigned char* pairs,
                                                      std::size_t count,
                                                      const std::uint32_t* forms) {
    const Compaction& table = compaction();
    const __m256i oneByte = _mm256_set1_epi32(0xFF);
    const __m256i twoBytes = _mm256_set1_epi32(0xFFFF);
    const __m256i threeBytes = _mm256_set1_epi32(0xFFFFFF);
    const __m256i byFour = _mm256_set1_epi16(0x0401);      // bytes 1, 4
    const __m256i bySixteen = _mm256_set1_epi32(0x100001); // words 1, 16
    const int* base = reinterpret_cast<const int*>(forms);
    for (std::size_t i = 0; i < count; i += 8) {
        // The pairs are the characters' 16-bit units; widened, they index the forms.
        const __m256i stored =
            _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 2 * i)));
        const __m256i form = _mm256_i32gather_epi32(base, stored, 4);
        // Minus (length - 1) per form: its bytes after the first are the non-zero ones
        // (the forms' top bytes are ASCII, so the signed compares hold).
        const __m256i less = _mm256_add_epi32(
            _mm256_add_epi32(_mm256_cmpgt_epi32(form, oneByte), _mm256_cmpgt_epi32(form, twoBytes)),
            _mm256_cmpgt_epi32(form, threeBytes));
        // Four of those to one index per half: packed to bytes, then weighed 1, 4, 16, 64.
        const __m256i packed =
            _mm256_packs_epi16(_mm256_packs_epi32(less, less), _mm256_packs_epi32(less, less));
        const __m256i index = _mm256_madd_epi16(_mm256_maddubs_epi16(byFour, packed), bySixteen);
        const unsigned low = static_cast<unsigned>(_mm256_cvtsi256_si32(index)) & 0xFF;
        const unsigned high = static_cast<unsigned>(_mm256_extract_epi32(index, 4)) & 0xFF;
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out),
            _mm_shuffle_epi8(_mm256_castsi256_si128(form),
                             _mm_load_si128(reinterpret_cast<const __m128i*>(table.shuffle[low]))));
        out += table.length[low];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(_mm256_extracti128_si256(form, 1),
                                          _mm_load_si128(reinterpret_cast<const __m128i*>(
                                              table.shuffle[high]))));
        out += table.length[high];
    }
    return out;
}

} // namespace edt::cli

#else

namespace edt::cli {

char* escapePairsAvx2(char* out, const unsigned char*, std::size_t, const std::uint32_t*) {
    return out; // never chosen: availablePaths offers no AVX2 here
}

} // namespace edt::cli

#endif
