// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor: creates the editor's one window, opens the file the command line names,
// and runs the event loop until the window closes.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/code_page_choice.h"
#include "editor/start_options.h"
#include "edt/version.h"
#include "window/editor_icon.h"
#include "window/form1.h"

int main(int argc, char** argv) {
    using Action = edt::StartOptions::Action;
    const edt::StartOptions options =
        edt::parseStartOptions(std::vector<std::string>(argv, argv + argc));
    if (options.action != Action::Run) {
        const bool wrongUse = options.action == Action::WrongUse;
        std::fprintf(wrongUse ? stderr : stdout, "%s\n", options.message.c_str());
        return wrongUse ? 2 : 0;
    }

    QApplication app(argc, argv);
    // Settings (the code page each file was read with) in ~/.config/edt-editor/.
    QApplication::setOrganizationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(edt::kVersionString));
    QGuiApplication::setDesktopFileName(QStringLiteral("edt-editor"));
    QApplication::setWindowIcon(edt::editorIcon());

    const edt::os::Environment environment = edt::os::environment();
    edt::useEnvironment(environment);
    edt::Form1 form;
    form.setStateFolder(edt::StateFolder::forUser(options.noBackup || environment.noBackup));
    form.show();
    if (options.file)
        form.openPath(*options.file, options.codePage); // bytes, as the system has them
    return app.exec();
}
