// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "platform/folders.h"
#include "platform/wide_text.h"

namespace edt::os {

std::string stateFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    return local ? win::toUtf8(local) : std::string();
}

} // namespace edt::os
