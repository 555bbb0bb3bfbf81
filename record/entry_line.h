// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace edt {

// An entry's key: the position, counted from 1, of its first byte in the file.
using RecordKey = std::uint64_t;

// At least seven digits, zero-padded ("0000641"); larger keys show all digits.
std::string formatKey(RecordKey key);

// A key as users give it and lines show it: decimal digits, leading zeros allowed
// ("0000641", "641"). False for anything else, and for numbers too large to be a
// position.
bool parseKey(std::string_view digits, RecordKey& key);

// Writes formatKey(key) at `out`, which has room for 20 characters, and returns the
// end of what it wrote. For callers that format millions of keys.
char* writeKey(char* out, RecordKey key);

// One entry of the list: its key and its text (bytes of the file's code page), shown
// as "[" + key + "] " + text.
struct EntryLine {
    RecordKey key = 0;
    std::string text;

    bool operator==(const EntryLine& other) const { return key == other.key && text == other.text; }
};

} // namespace edt
