// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "record/status.h"

namespace edt {

// The single-byte character set that texts are read and written in: one byte is one
// character. Tables come from the system's own converter. Texts stay bytes
// everywhere; a CodePage is where they meet Unicode.
//
// Every byte stands for a character of its own and comes back as that byte: a byte
// the code page leaves undefined stands for the C1 control of its number (0x81 ->
// U+0081, as Windows-1252's five undefined bytes always have), or for U+F700 + byte
// where that is taken or the byte lies elsewhere.
class CodePage {
public:
    // The code page a name stands for: "1251", "cp1251", "windows-1251", "866",
    // "CP866", "koi8-r", "ISO-8859-2", "iso8859-2" ..., in any case. Refused with
    // UnknownCodePage or MultiByteCodePage. Code pages live as long as the program.
    static Status named(std::string_view name, const CodePage*& out);

    // The host's default: `chosen` when it is not empty ($EDT_CODEPAGE, as the front
    // end read it; refused when it names none); else on Windows the system's ANSI code
    // page when it is single-byte, elsewhere the Windows code page of the language of
    // `locale` (localeCodePageName); else Windows-1252.
    static Status hostDefault(const std::string& chosen, const std::string& locale,
                              const CodePage*& out);

    // Every single-byte code page the converter offers, by name, Windows ones first.
    static std::vector<std::string> available();

    // "Windows-1251", "CP866", "KOI8-R", "ISO-8859-2" ...
    const std::string& name() const { return name_; }

    char32_t toUnicode(unsigned char byte) const { return unicode_[byte]; }
    std::optional<unsigned char> fromUnicode(char32_t codePoint) const;
    bool isDefined(unsigned char byte) const { return defined_[byte]; }
    // The UTF-8 form of a byte's character.
    std::string_view utf8Of(unsigned char byte) const {
        return {utf8_[byte].data(), utf8Length_[byte]};
    }

    // The byte of the small letter of a byte's character, where the code page has
    // it (case-insensitive search compares these); the byte itself otherwise.
    unsigned char folded(unsigned char byte) const { return folded_[byte]; }

    std::string toUtf8(std::string_view bytes) const;
    // UTF-8 -> bytes. Fails on malformed UTF-8 (BadUtf8) and on characters the code
    // page lacks (NotInCharacterSet).
    Status fromUtf8(std::string_view utf8, std::string& bytes) const;
    // The status for a character the code page lacks.
    Status notInCharacterSet(char32_t codePoint) const;

private:
    CodePage() = default;

    std::string name_;
    std::array<char32_t, 256> unicode_{};
    std::array<bool, 256> defined_{};
    std::array<std::array<char, 4>, 256> utf8_{};
    std::array<unsigned char, 256> utf8Length_{};
    std::array<unsigned char, 256> folded_{};
    std::unordered_map<char32_t, unsigned char> bytes_;
};

// The name a user's name for a code page comes to ("cp1251" -> "Windows-1251",
// "866" -> "CP866", "iso8859-2" -> "ISO-8859-2"); others in capitals.
std::string canonicalCodePageName(std::string_view name);

// The Windows code page of a locale's language, by the first of LC_ALL, LC_CTYPE and
// LANG that is set and not empty: pl cs sk hu sl hr ro sq bs -> 1250, ru uk be bg mk
// sr -> 1251 (in Latin letters, "sr@latin" or "sr_Latn", 1250; any "@cyrillic" or
// "_Cyrl" 1251), el -> 1253, tr az -> 1254, he -> 1255, ar fa ur -> 1256, et lv lt ->
// 1257, vi -> 1258, th -> 874; any other language, C and POSIX -> 1252.
std::string localeCodePageName(const char* lcAll, const char* lcCtype, const char* lang);

} // namespace edt
