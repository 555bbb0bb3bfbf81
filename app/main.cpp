// edt-editor: creates the editor's one window and runs the event loop until it closes.
#include <QApplication>
#include <QIcon>

#include "edt/version.h"
#include "window/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(edt::kVersionString));
    QGuiApplication::setDesktopFileName(QStringLiteral("edt-editor"));

    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/edt-editor.png").arg(size));
    QApplication::setWindowIcon(icon);

    edt::Form1 form;
    form.show();
    return app.exec();
}
