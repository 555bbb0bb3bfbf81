// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace edt::cli {

// Writes the escaped forms of the first `count` characters (a multiple of 8) stored as
// regular pairs at `pairs`, and returns the end of what it wrote. `forms` holds each
// stored byte's escaped form as four bytes, zeros after its length (Escaper's
// storedForms). Stores up to 16 bytes from where a step of four characters starts, so
// `out` has room for 4 * count bytes. Only for CPUs with AVX2 (availablePaths).
char* escapePairsAvx2(char* out, const unsigned char* pairs, std::size_t count,
                      const std::uint32_t* forms);

} // namespace edt::cli
