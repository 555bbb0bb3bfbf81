// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "record/entry_line.h"
#include "record/file_kind.h"

namespace edt::bench {

// A 200-character text to write; `variant` 0 and 1 differ, so that successive writes
// change the entry's bytes.
std::string writeText(int variant);

// The key of the last entry of a file of this kind and size.
RecordKey lastEntryKey(const FileKind& kind, std::uint64_t fileSize);

} // namespace edt::bench
