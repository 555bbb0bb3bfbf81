// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/message_loop.h"

#include <commctrl.h>

namespace edt::win32 {

void initCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
}

int runMessageLoop(HWND window, HACCEL accelerators) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(window) && TranslateAcceleratorW(window, accelerators, &message))
            continue;
        // IsDialogMessageW also translates and dispatches what it does not use.
        if (!IsWindow(window) || !IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace edt::win32
