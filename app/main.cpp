// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor: creates the editor's one window and runs the event loop until it closes.
#include <QApplication>

#include "edt/version.h"
#include "window/editor_icon.h"
#include "window/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Settings (the code page each file was read with) in ~/.config/edt-editor/.
    QApplication::setOrganizationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(edt::kVersionString));
    QGuiApplication::setDesktopFileName(QStringLiteral("edt-editor"));
    QApplication::setWindowIcon(edt::editorIcon());

    edt::Form1 form;
    form.show();
    return app.exec();
}
