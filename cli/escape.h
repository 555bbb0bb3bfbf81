// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/vector_path.h"
#include "record/code_page.h"
#include "record/status.h"

namespace edt::cli {

// Texts on the command line are UTF-8 with escapes, so that every byte of an entry
// survives a terminal: \\ \r \n \t, and \xHH (two hex digits) for the other control
// codes, 127 and the bytes the code page leaves undefined.
class Escaper {
public:
    // The longest escaped form of one character (a 4-byte UTF-8 character, "\x81"),
    // and the room escapeInto needs beyond it: it may store up to 8 bytes past what
    // it keeps.
    static constexpr std::size_t kMaxEscapedChar = 4;
    static constexpr std::size_t kSlack = 8;

    // `path`: how the listing's bulk escapes are done (writeListedText).
    explicit Escaper(const CodePage& codePage, VectorPath path = listingPath());

    const CodePage& codePage() const { return codePage_; }
    VectorPath path() const { return path_; }

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
    // one load and one store with no branch: by character, and by the stored byte that
    // stands for it in a file.
    struct Escaped {
        char bytes[7];
        unsigned char length;
    };
    const Escaped& ofStoredByte(unsigned char stored) const { return byStored_[stored]; }
    // The same as four bytes, zeros after the form (no form holds a zero byte, so the
    // value shows its length): the table the vector paths gather from.
    const std::uint32_t* storedForms() const { return storedForms_.data(); }

private:
    const CodePage& codePage_;
    VectorPath path_;
    std::array<Escaped, 256> byChar_{};
    std::array<Escaped, 256> byStored_{};
    std::array<std::uint32_t, 256> storedForms_{};
};

} // namespace edt::cli
