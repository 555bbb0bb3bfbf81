// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/code_page.h"
#include "record/open_file.h"
#include "record/status.h"
#include "record/writer.h"
#include "translate/problem.h"
#include "translate/translation.h"

namespace edt::translate {

// An untranslated entry that holds its original, which reads differently in the
// target code page than in the source's.
struct Misread {
    std::string key;            // as written
    std::size_t line = 0;       // of its item in the translation
    char32_t original = 0;      // the first character that reads differently
    char32_t shown = 0;         // what its byte shows in the target code page
    bool recoded = false;       // planned to be written in the target code page
    std::optional<Status> kept; // recoding asked for but impossible: why (a character
                                // the target lacks, or holds at code 255)
};

struct ImportOptions {
    bool force = false;              // write stale entries too, but never one whose
                                     // original a spreadsheet reformatted
    bool recodeUntranslated = false; // write misread originals in the target page
};

struct ImportPlan {
    FileIdentity identity;          // the file as it was checked
    std::vector<EntryWrite> writes; // changed entries, in key order
    std::vector<std::size_t> lines; // of each write's item in the translation
    std::uint64_t changed = 0;
    std::uint64_t unchanged = 0;        // translated to the text the entry already holds
    std::uint64_t untranslated = 0;     // entries the translation gives no text for
    std::uint64_t fuzzy = 0;            // PO messages marked fuzzy, left out
    std::vector<std::string> fuzzyKeys; // their keys, as written
    std::uint64_t forced = 0;           // stale entries written all the same (force)
    std::vector<Misread> misread;       // only when the two code pages differ
    std::uint64_t recoded = 0;          // misread originals planned in the target page
    std::vector<Problem> problems;      // the translation's own and every item that
                                        // cannot be written, by line
};

// Checks every translated item against the file without writing anything: its key
// starts an entry, it is the only item for that entry, its text converts to the
// target code page, can be stored and fits the bytes of the entry the file holds.
// An item that gives its original (PO msgid, CSV source; read in the `source` code
// page) is one of three: the entry still holds the original (written), already the
// translation (counted unchanged), or anything else: stale, a problem naming the key
// unless `force` (ReformattedSource, where a spreadsheet reformatted the original,
// even then). Untranslated items are never written nor refused; where the code pages
// differ, those whose entry holds an original that reads differently in the target
// are listed, and written in the target page where `recodeUntranslated` and every
// character exists there. Entries whose text would not change are not planned. The
// status fails only when the file cannot be read. The plan's writes go to the same
// OpenFile's write(), which refuses them if the file changed since.
Status planImport(OpenFile& file, const Translation& translation, const CodePage& target,
                  const CodePage& source, const ImportOptions& options, ImportPlan& plan);

// The same for a translation made in the code page it goes back in.
inline Status planImport(OpenFile& file, const Translation& translation, const CodePage& codePage,
                         ImportPlan& plan) {
    return planImport(file, translation, codePage, codePage, {}, plan);
}

} // namespace edt::translate
