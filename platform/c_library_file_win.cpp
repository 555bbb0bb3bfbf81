// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/c_library_file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <fcntl.h>
#include <vector>

#include "platform/wide_text.h"

namespace edt::os {

namespace {

// `wide` in the ANSI code page, false when a character has no exact counterpart
// there (no best-fit stand-ins: those would name another file).
bool toAnsi(const std::wstring& wide, std::string& out) {
    if (wide.empty())
        return false;
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0,
                                         nullptr, &lossy);
    if (size <= 0 || lossy)
        return false;
    std::vector<char> bytes(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, bytes.data(), size, nullptr,
                        &lossy);
    if (lossy)
        return false;
    out.assign(bytes.data());
    return true;
}

} // namespace

Result cLibraryPath(const std::string& path, std::string& name) {
    std::wstring wide;
    if (!win::toWide(path, wide))
        return win::failure(Op::Open, ERROR_INVALID_NAME);
    if (toAnsi(wide, name))
        return Result::success();
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return win::failure(Op::Open, GetLastError());
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size)
        return win::failure(Op::Open, GetLastError());
    shortPath.resize(length);
    if (!toAnsi(shortPath, name))
        return win::failure(Op::Open, ERROR_NO_UNICODE_TRANSLATION);
    return Result::success();
}

void useBinaryFileMode() {
    _fmode = _O_BINARY; // msvcrt.dll has no _set_fmode()
}

} // namespace edt::os
