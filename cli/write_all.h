// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "cli/file_plan.h"
#include "cli/tool.h"

namespace edt::cli {

// How the writes of an import's files went.
struct WrittenAll {
    Status status;             // the first failure; ok when every file was written
    std::size_t failed = 0;    // the plan whose write failed
    std::size_t entry = 0;     // and the write of its entry that failed
    std::size_t written = 0;   // plans written before it
    std::vector<Status> notes; // of every write, in order
};

// Writes every plan's entries into its file, in order, stopping at the first failure.
WrittenAll writeAll(const std::vector<FilePlan>& plans, const Settings& settings);

} // namespace edt::cli
