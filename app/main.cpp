// SPDX-License-Identifier: GPL-3.0-or-later
// edt-editor: creates the editor's one window, opens the file the command line names,
// and runs the event loop until the window closes.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "edt/version.h"
#include "record/message.h"
#include "window/editor_icon.h"
#include "window/form1.h"

namespace {

const char kUsage[] =
    "Usage: edt-editor [--codepage NAME] [--no-backup] [FILE]\n"
    "       edt-editor --help | --version\n"
    "\n"
    "Edits the texts of EDT files in place. FILE is opened at start, as File > Open\n"
    "does.\n"
    "  --codepage NAME  Read FILE's texts in the code page NAME (1251, cp1251,\n"
    "                   windows-1251 ...; edt-tool --list-codepages lists them).\n"
    "  --no-backup      Write without first copying each file to the backups.\n";

struct Options {
    std::string file;
    std::string codePage;
    bool noBackup = false;
};

// The options, or the exit status when the program ends here (help, version, misuse).
int parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("edt-editor %s\n", edt::kVersionString);
            return 0;
        }
        if (arg == "--codepage" && i + 1 < argc)
            options.codePage = argv[++i];
        else if (arg.rfind("--codepage=", 0) == 0)
            options.codePage = arg.substr(11);
        else if (arg == "--no-backup")
            options.noBackup = true;
        else if (options.file.empty() && (arg[0] != '-' || arg == "-"))
            options.file = arg;
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = parse(argc, argv, options); status >= 0)
        return status;
    const edt::CodePage* codePage = nullptr;
    if (!options.codePage.empty()) {
        const edt::Status status = edt::CodePage::named(options.codePage, codePage);
        if (!status.ok()) {
            std::fprintf(stderr, "edt-editor: %s\n", edt::describe(status).c_str());
            return 2;
        }
    }

    QApplication app(argc, argv);
    // Settings (the code page each file was read with) in ~/.config/edt-editor/.
    QApplication::setOrganizationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationName(QStringLiteral("edt-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(edt::kVersionString));
    QGuiApplication::setDesktopFileName(QStringLiteral("edt-editor"));
    QApplication::setWindowIcon(edt::editorIcon());

    edt::Form1 form;
    form.setBackups(edt::Backups::forUser(options.noBackup));
    form.show();
    if (!options.file.empty())
        form.openPath(QString::fromLocal8Bit(options.file.c_str()), codePage);
    return app.exec();
}
