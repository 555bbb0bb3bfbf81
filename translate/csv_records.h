// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/stored_forms.h"

namespace edt::translate {

// The records of a CSV export written in place, one entry at a time: KEY,MAX,SOURCE,TEXT
// and CR LF, source and text both the entry's text as translators read it
// (toTranslatorText) in UTF-8, quoted when it holds a comma, a quote or a line break
// (as csv::appendField does). From an entry's stored bytes, so that an export streams
// the file as the listing does.
class CsvRecords {
public:
    explicit CsvRecords(const CodePage& codePage, VectorPath path = vectorPath());

    // The header record, CR LF included; the source column names the code page.
    const std::string& header() const { return header_; }

    // The most bytes a record of an entry of `entryLength` bytes takes, with the room
    // write() may store past it.
    static std::size_t room(std::size_t entryLength);

    // Writes the record of a stored entry (see StoredForms::writeEntry) whose limit is
    // `max` at `out`, which has room(entryLength) bytes, and returns its end.
    char* write(char* out, RecordKey key, int max, const unsigned char* bytes,
                std::size_t available, std::size_t entryLength, char* scratch) const;

private:
    // Turns each CR LF of the field [field, end), written as the lone marks side by
    // side, into a plain line feed; returns the new end.
    char* joinLineBreaks(char* field, char* end) const;

    StoredForms forms_;
    std::string header_;
    // The forms of a lone CR and a lone LF, one after the other.
    std::string crLfForms_;
};

} // namespace edt::translate
