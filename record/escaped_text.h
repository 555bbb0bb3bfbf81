// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/status.h"
#include "record/stored_forms.h"

namespace edt {

// Texts on the command line (the listing, a write's text) are UTF-8 with escapes, so
// that every byte of an entry survives a terminal; line breaks are escapes here, not
// the marks of shown_text.h: \\ \r \n \t, and \xHH (two hex digits) for the other control
// codes, 127 and the bytes the code page leaves undefined.
class Escaper {
public:
    // The longest escaped form of one character (a 4-byte UTF-8 character, "\x81"),
    // and the room escapeInto needs beyond it: it may store up to 8 bytes past what
    // it keeps.
    static constexpr std::size_t kMaxEscapedChar = 4;
    static constexpr std::size_t kSlack = 8;

    // `path`: how the listing's runs of characters are escaped (writeListedText).
    explicit Escaper(const CodePage& codePage, VectorPath path = vectorPath());

    const CodePage& codePage() const { return codePage_; }

    // The escaped UTF-8 form of a text (bytes of the code page).
    std::string escape(std::string_view text) const;
    void append(std::string& out, std::string_view text) const;

    // Writes the escaped form of `text` at `out`, which has room for
    // kMaxEscapedChar * text.size() + kSlack bytes, and returns the end of what it
    // wrote. The fast form, for listings of millions of lines.
    char* escapeInto(char* out, std::string_view text) const;

    // Escaped UTF-8 -> bytes of the code page. Refuses unknown escapes, malformed UTF-8
    // and characters the code page lacks, naming them.
    Status unescape(std::string_view escaped, std::string& text) const;

    // The escaped form of each byte, eight bytes a byte, so that escaping a character is
    // one load and one store with no branch.
    struct Escaped {
        char bytes[7];
        unsigned char length;
    };
    // The same for whole runs of stored characters.
    const StoredForms& storedForms() const { return storedForms_; }

private:
    const CodePage& codePage_;
    std::array<Escaped, 256> byChar_{};
    StoredForms storedForms_;
};

} // namespace edt
