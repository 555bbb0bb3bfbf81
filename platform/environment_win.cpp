// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "platform/environment.h"
#include "platform/wide_text.h"

namespace edt::os {
namespace {

std::string variable(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? win::toUtf8(value) : std::string();
}

} // namespace

Environment environment() {
    Environment env;
    env.codePage = variable(L"EDT_CODEPAGE");
    env.noBackup = variable(L"EDT_NO_BACKUP") == "1";
    return env; // the system's ANSI code page stands for the locale
}

} // namespace edt::os
