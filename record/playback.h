// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"
#include "record/journal.h"

namespace edt {

// What putting back a write's old bytes did.
struct PlayBack {
    std::uint64_t putBack = 0; // changes whose every byte holds its old value again
    std::uint64_t others = 0;  // changes where another program's bytes were left
    std::string failure;       // the system's reason, when it failed
};

// The one rule for undoing a write, in the process that made it or after a crash: of
// the first `count` changes, each byte that holds what the write stored is given its
// old value back; a byte that holds neither is another program's and stays. Bytes past
// the file's old length (`oldSize`) are its own when the file is no longer than the
// write made it, and are cut off. Then the file is flushed and read back.
PlayBack playBack(const os::File& file, const std::vector<Change>& changes, std::size_t count,
                  std::uint64_t oldSize);

} // namespace edt
