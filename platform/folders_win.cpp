// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <windows.h>

#include "platform/folders.h"
#include "platform/wide_text.h"

namespace edt::os {

std::string stateFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    return local ? win::toUtf8(local) : std::string();
}

Result makePrivateFolders(const std::string& path, int) {
    return makeFolders(path);
}

bool isOwnPlainFile(const std::string& path) {
    std::wstring wide;
    if (!win::toWidePath(path, wide))
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

} // namespace edt::os
