// SPDX-License-Identifier: GPL-3.0-or-later
// Code page tables from Windows' own converter: each byte alone through
// MultiByteToWideChar, which refuses a byte the code page leaves undefined.
#include "platform/code_page_table.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cctype>

namespace edt::os {
namespace {

// The number in `text` from `at` on, when it is all digits (and not too many).
UINT digitsAt(const std::string& text, std::size_t at) {
    if (text.size() <= at || text.size() - at > 5 ||
        text.find_first_not_of("0123456789", at) != std::string::npos)
        return 0;
    return static_cast<UINT>(std::stoul(text.substr(at)));
}

// Windows knows code pages by number: "WINDOWS-1251" and "CP866" by theirs, the
// others by the numbers Windows gives them.
UINT numberOf(const std::string& name) {
    std::string upper;
    for (const char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string prefix : {"WINDOWS-", "CP"}) {
        if (upper.compare(0, prefix.size(), prefix) == 0 && digitsAt(upper, prefix.size()))
            return digitsAt(upper, prefix.size());
    }
    if (upper == "UTF-8" || upper == "UTF8")
        return CP_UTF8;
    if (upper == "KOI8-R")
        return 20866;
    if (upper == "KOI8-U")
        return 21866;
    const std::string iso = "ISO-8859-";
    if (upper.compare(0, iso.size(), iso) == 0 && digitsAt(upper, iso.size()))
        return 28590 + digitsAt(upper, iso.size());
    return 0;
}

std::vector<UINT> installed;

BOOL CALLBACK collect(LPWSTR number) {
    installed.push_back(static_cast<UINT>(wcstoul(number, nullptr, 10)));
    return TRUE;
}

} // namespace

TableLoad loadCodePageTable(const std::string& name, CodePageTable& out) {
    const UINT number = numberOf(name);
    CPINFO info{};
    if (number == 0 || !IsValidCodePage(number) || !GetCPInfo(number, &info))
        return TableLoad::Unknown;
    if (info.MaxCharSize != 1)
        return TableLoad::MultiByte;
    out = {};
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t wide[2] = {};
        const int count = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2);
        if (count == 1) {
            out.unicode[b] = wide[0];
            out.defined.set(b);
        }
    }
    return TableLoad::Loaded;
}

std::vector<std::string> converterCodePages() {
    installed.clear();
    EnumSystemCodePagesW(collect, CP_INSTALLED);
    std::vector<std::string> names;
    for (const UINT number : installed) {
        if (number == 20866)
            names.push_back("KOI8-R");
        else if (number == 21866)
            names.push_back("KOI8-U");
        else if (number > 28590 && number <= 28606)
            names.push_back("ISO-8859-" + std::to_string(number - 28590));
        else
            names.push_back("CP" + std::to_string(number));
    }
    return names;
}

unsigned systemAnsiCodePage() {
    return GetACP();
}

} // namespace edt::os
