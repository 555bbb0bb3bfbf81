// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win32/windows_api.h"

namespace edt::win32 {

// The dots per inch of the monitor `window` is on. Windows before 10 (1607) has no
// per-monitor DPI: there it is the system's.
UINT dpiOf(HWND window);

// The DPI that system-wide objects (the stock fonts, the screen's DC) are made for.
UINT systemDpi();

// The outer size of a window with the given styles and a one-line menu bar whose
// client area is `client` pixels at `dpi`.
SIZE outerSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace edt::win32
