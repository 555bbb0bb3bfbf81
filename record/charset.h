// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "record/status.h"

namespace edt {

// Windows-1252, by our own table, so that every byte is exactly one character and
// back. The five bytes Windows-1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map
// to the C1 controls of the same number. This is the only place where texts of the
// record core (byte strings in this character set) meet Unicode.
namespace charset {

char32_t toUnicode(unsigned char byte);

// The byte for a code point, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> fromUnicode(char32_t codePoint);

// Whether Windows-1252 leaves the byte undefined.
bool isUndefined(unsigned char byte);

// Byte string -> UTF-8.
std::string toUtf8(std::string_view bytes);

// UTF-8 -> byte string. Fails on malformed UTF-8 (BadUtf8) and on characters the
// table lacks (NotInCharacterSet).
Status fromUtf8(std::string_view utf8, std::string& bytes);

// The status for a character the table lacks.
Status notInCharacterSet(char32_t codePoint);

} // namespace charset
} // namespace edt
