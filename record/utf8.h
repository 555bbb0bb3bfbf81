// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace edt {

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point at `at` and moves `at` past it; false (and `at` unmoved)
// for malformed UTF-8: a bad lead or continuation byte, an overlong form, a
// surrogate or a number above U+10FFFF.
bool nextCodePoint(std::string_view utf8, std::size_t& at, char32_t& codePoint);

// The UTF-16 form of a UTF-8 text; each malformed byte becomes U+FFFD.
std::u16string utf16Of(std::string_view utf8);

} // namespace edt
