// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace edt::translate {

// Something wrong with a translation file, at a line of it (counted from 1; 0 when
// the problem concerns the whole file).
struct Problem {
    std::size_t line = 0;
    std::string message;
};

} // namespace edt::translate
