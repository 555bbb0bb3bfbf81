// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/stored_forms.h"

namespace edt::translate {

// The records of a CSV export written in place, one entry at a time: KEY,TEXT and CR
// LF, the text as UTF-8, quoted when it holds a comma, a quote or a line break (as
// csv::appendField does). From an entry's stored bytes, so that an export streams the
// file as the listing does.
class CsvRecords {
public:
    // The header record, CR LF included.
    static constexpr std::string_view kHeader = "key,text\r\n";

    explicit CsvRecords(const CodePage& codePage, VectorPath path = vectorPath());

    // The most bytes a record of an entry of `entryLength` bytes takes, with the room
    // write() may store past it.
    static std::size_t room(std::size_t entryLength);

    // Writes the record of a stored entry (see StoredForms::writeEntry) at `out`, which
    // has room(entryLength) bytes, and returns its end.
    char* write(char* out, RecordKey key, const unsigned char* bytes, std::size_t available,
                std::size_t entryLength, char* scratch) const;
    // The same for an entry's text, `out` having room(2 * text.size()) bytes.
    char* write(char* out, RecordKey key, std::string_view text) const;

private:
    StoredForms forms_;
};

} // namespace edt::translate
