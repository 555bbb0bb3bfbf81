// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Windows API as the window's files use it: Unicode (W) functions, Windows 7 and
// later, without the rarely used parts of <windows.h>.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The window names its open-file dialog DialogBox; the dialog-box function of that
// name is not used.
#undef DialogBox
