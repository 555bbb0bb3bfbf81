// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace edt::cli {

// The ways the listing can turn stored characters into escaped UTF-8: the plain loop,
// the reference, and AVX2 (table gathers and byte shuffles, eight characters a step).
enum class VectorPath { Scalar, Avx2 };

// "scalar", "avx2".
const char* pathName(VectorPath path);

// Every path this CPU runs, the scalar one first and the fastest last.
std::vector<VectorPath> availablePaths();

// The path listings take: the fastest this CPU runs, unless one was chosen.
VectorPath listingPath();

// Chooses the path by name ($EDT_SIMD, read by the front end): a path this CPU runs,
// or the fastest one when the name is missing or names none it runs. Returns it.
VectorPath chooseListingPath(const char* name);

} // namespace edt::cli
