// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "cli/file_plan.h"
#include "cli/tool.h"

namespace edt::cli {

// How the writes of an import's files went.
struct WrittenAll {
    Status status;             // the failure; ok when every file was written
    std::size_t failed = 0;    // the plan whose write failed
    std::size_t entry = 0;     // and the write of its entry that failed
    std::size_t written = 0;   // plans written: all of them, or none
    std::vector<Status> notes; // of every write, in order
};

// Writes every plan's entries into its file, all or nothing across the files
// (OpenFile::writeTogether).
WrittenAll writeAll(std::vector<FilePlan>& plans);

} // namespace edt::cli
