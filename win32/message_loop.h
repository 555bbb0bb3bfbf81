// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win32/windows_api.h"

namespace edt::win32 {

// Loads the common controls (version 6, as the manifest asks) that the window uses.
void initCommonControls();

// Runs the thread's messages until the program quits, with Tab and Shift+Tab moving
// the focus among `window`'s controls and `accelerators` sent to it as commands;
// returns the exit code.
int runMessageLoop(HWND window, HACCEL accelerators);

} // namespace edt::win32
