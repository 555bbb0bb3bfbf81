// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/status.h"
#include "record/writer.h"
#include "translate/problem.h"
#include "translate/translation.h"

namespace edt::translate {

struct ImportPlan {
    FileIdentity identity;          // the file as it was checked
    std::vector<EntryWrite> writes; // changed entries, in key order
    std::vector<std::size_t> lines; // of each write's item in the translation
    std::uint64_t changed = 0;
    std::uint64_t unchanged = 0;    // translated to the text the entry already holds
    std::uint64_t untranslated = 0; // entries the translation gives no text for
    std::uint64_t fuzzy = 0;        // PO messages marked fuzzy, left out
    std::vector<Problem> problems;  // the translation's own and every item that
                                    // cannot be written, by line
};

// Checks every translated item against the file without writing anything: its key
// starts an entry, it is the only item for that entry, and its text converts to the
// texts' character set, can be stored and fits the entry. Entries whose text would
// not change are counted, not planned. The status fails only when the file cannot be
// read. The plan's writes go to writeEntries with its identity.
Status planImport(const std::string& path, const Translation& translation, ImportPlan& plan);

} // namespace edt::translate
