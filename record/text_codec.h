// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "record/status.h"

namespace edt {

// The stored form of texts: each character a 16-bit little-endian unit whose low
// byte is the character code, raised by one from 33 up.

inline unsigned char encodeChar(unsigned char c) {
    return c > 32 ? static_cast<unsigned char>(c + 1) : c;
}

// The character a stored byte stands for; 0 stands for nothing.
inline unsigned char decodeByte(unsigned char b) {
    return b >= 33 ? static_cast<unsigned char>(b - 1) : b;
}

// Decodes one entry of `entryLength` bytes of which the first `available` are in
// `bytes` (the rest lie past the end of the file and read as zero). The text ends
// where the running zero balance (+1 per zero byte, -1 per other byte) reaches 2.
std::string decodeEntry(const unsigned char* bytes, std::size_t available, std::size_t entryLength);

// The same into `out`, which has room for `entryLength` characters; returns the
// text's length. The fast form, for readers that decode millions of entries.
std::size_t decodeEntryTo(const unsigned char* bytes, std::size_t available,
                          std::size_t entryLength, char* out);

// The length in bytes of the leading run of regular pairs (a character byte, then a
// zero byte) among the first `present` bytes: the form texts are nearly always
// stored in. Over such pairs the zero balance goes -1, 0, -1, 0 ..., so the text
// cannot end there, and each pair is one character.
std::size_t regularPairRun(const unsigned char* bytes, std::size_t present);

// Whether a text whose zero balance is 0 before byte `at` (as after a run of regular
// pairs) ends there: two zero bytes among the first `present` take the balance to 2.
inline bool zeroPairAt(const unsigned char* bytes, std::size_t present, std::size_t at) {
    return at + 2 <= present && bytes[at] == 0 && bytes[at + 1] == 0;
}

class CodePage;

// Checks that every character of a text (bytes of `codePage`) has a stored form.
// Code 0 would end the text, code 255 would need a byte of 256.
Status checkStorable(std::string_view text, const CodePage& codePage);

// The bytes written for a text: two per character, then four zero bytes.
std::string encodeText(std::string_view text);

// Largest number of characters that fit an entry with their terminator.
inline int maxCharsForEntry(int entryLength) {
    return entryLength < 4 ? 0 : (entryLength - 4) / 2;
}

} // namespace edt
