// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/console.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "platform/wide_text.h"

namespace edt::os {

std::vector<std::string> utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i)
        args.push_back(win::toUtf8(argv[i]));
    return args;
}

Utf8Console::Utf8Console() : previous_(GetConsoleOutputCP()) {
    if (previous_ != 0)
        SetConsoleOutputCP(CP_UTF8);
    // A CSV's CR LF would otherwise become CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
}

Utf8Console::~Utf8Console() {
    if (previous_ != 0)
        SetConsoleOutputCP(previous_);
}

} // namespace edt::os
