#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/problem.h"
#include "cli/translation.h"
#include "record/entry_line.h"
#include "record/file_io.h"
#include "record/file_kind.h"
#include "record/status.h"

namespace edt::cli {

// One entry whose text the import changes.
struct PlannedWrite {
    RecordKey key = 0;
    std::string text;     // Windows-1252
    std::size_t line = 0; // of the item in the translation
};

struct ImportPlan {
    FileIdentity identity;            // the file as it was checked
    std::vector<PlannedWrite> writes; // changed entries, in key order
    std::uint64_t changed = 0;
    std::uint64_t unchanged = 0;    // translated to the text the entry already holds
    std::uint64_t untranslated = 0; // entries the translation gives no text for
    std::uint64_t fuzzy = 0;        // PO messages marked fuzzy, left out
    std::vector<Problem> problems;  // the translation's own and every item that
                                    // cannot be written, by line
};

// Checks every translated item against the file without writing anything: its key
// starts an entry, it is the only item for that entry, and its text converts to
// Windows-1252, can be stored and fits the entry. Entries whose text would not change
// are counted, not planned. The status fails only when the file cannot be read.
Status planImport(const std::string& path, const Translation& translation, ImportPlan& plan);

} // namespace edt::cli
