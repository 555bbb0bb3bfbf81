// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace edt {

// A form of `length` bytes (four bytes, the first lowest, zeros after it) as the vector step takes
// it: a form of three bytes moves its last two up by one, so that bytes 1 and 3 being zero or not
// tell every length apart.
std::uint32_t slotForm(std::uint32_t form, std::size_t length);

// StoredForms' AVX2 step: writes the forms (`slots`: slotForm of each stored byte's
// form) of the first `count` characters (a multiple of 8) stored as regular pairs at
// `pairs`, and returns the end. Stores up to 16 bytes
// from where each group of four characters starts, so `out` has room for 4 * count
// bytes. Only for CPUs with AVX2 (availablePaths).
char* writeFormsAvx2(char* out, const unsigned char* pairs, std::size_t count,
                     const std::uint32_t* slots);

} // namespace edt
