// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// <windows.h> as the window's files use it: the Unicode (W) functions and the lean
// header, as win32/CMakeLists.txt defines for every user of the library.
#include <windows.h>

// The window names its open-file dialog DialogBox; the dialog-box function of that
// name is not used.
#undef DialogBox
