// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace edt {

// The ways stored texts are turned into their written forms in bulk (StoredForms):
// the plain loop, the reference, and AVX2 (table gathers and byte shuffles, eight
// characters a step).
enum class VectorPath { Scalar, Avx2 };

// "scalar", "avx2".
const char* pathName(VectorPath path);

// Every path this CPU runs, the scalar one first and the fastest last.
std::vector<VectorPath> availablePaths();

// The path bulk conversions take: the fastest this CPU runs, unless one was chosen.
VectorPath vectorPath();

// Chooses the path by name ($EDT_SIMD, read by the front end): a path this CPU runs,
// or the fastest one when the name is missing or names none it runs. Returns it.
VectorPath chooseVectorPath(const char* name);

} // namespace edt
