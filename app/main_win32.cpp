// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor for Windows: creates the editor's one window and runs its messages until
// it closes. No command line.
#include "win32/form1.h"
#include "win32/message_loop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    edt::win32::initCommonControls();
    edt::win32::Form1 form(instance);
    form.show(showCommand);
    return edt::win32::runMessageLoop(form.handle());
}
