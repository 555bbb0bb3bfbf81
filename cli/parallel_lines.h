// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "cli/output_buffer.h"
#include "record/open_file.h"

namespace edt::cli {

// Writes the line of the entry numbered `index` (from 0) at `out`, which has
// roomFor(length) bytes, and returns its end; `scratch` has room for any entry's
// decoded text. Called on several threads at once.
using EntryLineWriter =
    std::function<char*(char* out, std::uint64_t index, RecordKey key, const unsigned char* bytes,
                        std::size_t available, std::size_t length, char* scratch)>;

// One line per entry of `file`, after what `output` holds, in file order, made on
// every core (visitEntryBytesInParallel): the listing and the CSV export.
// `roomPerRecord` is the most a record's lines take.
Status writeEntryLines(OpenFile& file, OutputBuffer& output, std::size_t roomPerRecord,
                       const std::function<std::size_t(std::size_t)>& roomFor,
                       const EntryLineWriter& line);

} // namespace edt::cli
