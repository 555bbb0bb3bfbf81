// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "record/status.h"

namespace edt::translate {

// Something wrong with a translation file, at a line of it (counted from 1; 0 when
// the problem concerns the whole file). The front end phrases the status.
struct Problem {
    std::size_t line = 0;
    Status status;
};

// A problem of one of translations' own kinds (StatusCode), with its detail.
inline Problem problemAt(std::size_t line, StatusCode code, std::string detail = {}) {
    Problem problem{line, Status::error(code)};
    problem.status.detail = std::move(detail);
    return problem;
}

} // namespace edt::translate
