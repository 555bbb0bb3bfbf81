// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <vector>

namespace edt::os {

// A single-byte code page as the system's own converter has it (iconv on Linux,
// MultiByteToWideChar on Windows): the character of each byte 1..255 alone, and which
// bytes the converter leaves undefined.
struct CodePageTable {
    std::array<char32_t, 256> unicode{};
    std::bitset<256> defined;
};

enum class TableLoad {
    Loaded,
    Unknown,   // the converter does not know the name
    MultiByte, // some byte alone only starts a character (932, UTF-8 ...)
};

// Loads the table of the code page `name`: "WINDOWS-1251", "CP866", "KOI8-R",
// "ISO-8859-2" ... (on Linux any name iconv knows).
TableLoad loadCodePageTable(const std::string& name, CodePageTable& out);

// The names of the code pages the converter offers, single-byte or not.
std::vector<std::string> converterCodePages();

// The system's ANSI code page (Windows' GetACP); 0 where there is none.
unsigned systemAnsiCodePage();

} // namespace edt::os
