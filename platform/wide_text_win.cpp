// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wide_text.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>

namespace edt::os::win {

bool toWide(std::string_view utf8, std::wstring& out) {
    out.clear();
    if (utf8.empty())
        return true;
    if (utf8.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    const int length = static_cast<int>(utf8.size());
    const int size =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (size <= 0)
        return false;
    out.resize(static_cast<std::size_t>(size));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, out.data(), size);
    return out.find(L'\0') == std::wstring::npos;
}

std::wstring toWide(std::string_view utf8) {
    std::wstring out;
    toWide(utf8, out);
    return out;
}

bool toWidePath(const std::string& path, std::wstring& out) {
    if (!toWide(path, out))
        return false;
    // Folders stop at 248 characters, files at 260; \\?\ lifts both but takes only a
    // full path with backslashes, which GetFullPathNameW makes.
    if (out.size() < MAX_PATH - 12 || out.rfind(L"\\\\?\\", 0) == 0)
        return true;
    const DWORD size = GetFullPathNameW(out.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return true; // the caller's open reports the problem
    std::wstring full(size, L'\0');
    const DWORD written = GetFullPathNameW(out.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return true;
    full.resize(written);
    if (full.rfind(L"\\\\", 0) == 0)
        out = L"\\\\?\\UNC\\" + full.substr(2);
    else
        out = L"\\\\?\\" + full;
    return true;
}

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string reason(unsigned long errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer)
        text = toUtf8(std::wstring_view(buffer, length));
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "system error " + std::to_string(errorCode);
    return text;
}

Result failure(Op op, unsigned long errorCode) {
    return Result::failure(op, reason(errorCode));
}

} // namespace edt::os::win
