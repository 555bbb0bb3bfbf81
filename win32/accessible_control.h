// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "win32/windows_api.h"

namespace edt::win32 {

// What screen readers (MSAA) read of a control where the system's own object for it
// says too little. Each is read when a reader asks; what is not set is the system's.
struct AccessibleTexts {
    std::wstring name;
    std::function<std::wstring()> description;
    long role = 0;
    // The rows of a list (child ids 1 ...), which owner-data lists do not name.
    std::function<long()> rowCount;
    std::function<std::wstring(long row)> rowName;
    std::function<bool(long row)> rowSelected;
};

// Has `control` answer screen readers (WM_GETOBJECT) with the system's object for it,
// changed by `texts`, as long as the control lives. Needs COM on the window's thread.
void makeAccessible(HWND control, AccessibleTexts texts);

} // namespace edt::win32
