// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/command_line.h"

#include "win32/windows_api.h" // before <shellapi.h>, which needs it

#include <shellapi.h>

#include "platform/console.h"
#include "platform/wide_text.h"

namespace edt::win32 {

std::vector<std::string> commandLineArguments() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out =
        args ? os::utf8Arguments(count, args) : std::vector<std::string>();
    LocalFree(args);
    return out;
}

void tellAtStart(const std::string& text, bool problem) {
    MessageBoxW(nullptr, os::win::toWide(text).c_str(), L"edt-editor",
                MB_OK | (problem ? MB_ICONWARNING : MB_ICONINFORMATION));
}

} // namespace edt::win32
