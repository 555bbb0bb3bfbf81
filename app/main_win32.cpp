// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor for Windows: reads the command line, creates the editor's one window,
// opens the file named there and runs the window's messages until it closes.
#include "editor/code_page_choice.h"
#include "editor/start_options.h"
#include "platform/wide_text.h"
#include "win32/command_line.h"
#include "win32/form1.h"
#include "win32/message_loop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using Action = edt::StartOptions::Action;
    const edt::StartOptions options = edt::parseStartOptions(edt::win32::commandLineArguments());
    if (options.action != Action::Run) {
        const bool wrongUse = options.action == Action::WrongUse;
        edt::win32::tellAtStart(options.message, wrongUse);
        return wrongUse ? 2 : 0;
    }

    edt::win32::initCommonControls();
    const edt::os::Environment environment = edt::os::environment();
    edt::useEnvironment(environment);
    edt::StateFolder state = edt::StateFolder::forUser(options.noBackup || environment.noBackup);
    edt::win32::Form1 form(instance, &state);
    form.show(showCommand);
    if (options.file) {
        std::wstring path;
        edt::os::win::toWide(*options.file, path);
        form.openPath(path, options.codePage);
    }
    return edt::win32::runMessageLoop(form.handle(), form.accelerators());
}
