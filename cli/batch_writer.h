#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/import_plan.h"
#include "record/writer.h"

namespace edt::cli {

// Stores one text at one key, as edt::writeRecord does.
using EntryWriter =
    std::function<WriteResult(const std::string& path, std::string_view fileTitle, RecordKey key,
                              std::string_view text, const FileIdentity* expected, Flush flush)>;

// Writes the planned entries one by one through `writer` (the window's own writer,
// writeRecord, unless a test puts another in), all or nothing, and flushes the file
// to disk once after the last (a flush per entry made large imports take seconds). Refused before
// any write when the file is no longer the one that was checked. The bytes every write will cover
// are read first; if a write fails, those already written (and the failed one's) are put back in
// place through the same open file, its length restored, and flushed to disk, so that the file is
// as it was. The message says which entry failed, why, and whether putting back succeeded.
Status writeAll(const std::string& path, const FileIdentity& checked,
                const std::vector<PlannedWrite>& writes, const EntryWriter& writer = writeRecord);

} // namespace edt::cli
