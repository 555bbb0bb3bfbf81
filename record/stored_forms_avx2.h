// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace edt {

// What StoredForms' AVX2 step reads of the forms, by character.
struct Avx2Forms {
    const std::uint32_t* forms;   // each form as four bytes, the first lowest
    const unsigned char* lengths; // its length
    const std::uint32_t* slots;   // slotForm of each form
    // Whether a character's form is the character itself, as a bit table: bit h % 8
    // of plainRows[h / 8][c % 16] (h = c / 16) tells for character c.
    const unsigned char (*plainRows)[16];
};

// A form of `length` bytes (four bytes, the first lowest, zeros after it) as the vector step takes
// it: a form of three bytes moves its last two up by one, so that bytes 1 and 3 being zero or not
// tell every length apart.
std::uint32_t slotForm(std::uint32_t form, std::size_t length);

// StoredForms' AVX2 step: writes the forms of the characters of the leading run of
// regular pairs (see regularPairRun) among the first `present` bytes at `bytes`,
// sixteen characters a step, and returns the end. It stops at the first pair that is
// not regular or where fewer than 32 bytes are left, and sets `run` to the bytes it
// took. Stores up to 16 bytes past where a character's form starts, so `out` has room
// for 2 * present + 16 bytes. Only for CPUs with AVX2 (availablePaths).
char* writeRunAvx2(char* out, const unsigned char* bytes, std::size_t present, std::size_t& run,
                   const Avx2Forms& forms);

} // namespace edt
