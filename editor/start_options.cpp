// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/start_options.h"

#include "editor/window_notes.h"
#include "edt/version.h"
#include "platform/console.h"

namespace edt {
namespace {

// Short lines without columns: a message box shows it in a proportional font. Without
// a closing line break, which a console adds.
const char kUsage[] = "Usage: edt-editor [--codepage NAME] [--no-backup] [FILE]\n"
                      "Opens FILE at start, as File > Open ... does.\n"
                      "--codepage NAME: read its texts in this code page (1251, koi8-r ...)\n"
                      "--no-backup: write without a copy in the backups first\n"
                      "--help: show this text\n"
                      "--version: show the program's version";

StartOptions ending(StartOptions::Action action, std::string message) {
    StartOptions options;
    options.action = action;
    options.message = std::move(message);
    return options;
}

} // namespace

StartOptions parseStartOptions(const std::vector<std::string>& args) {
    using Action = StartOptions::Action;
    StartOptions options;
    std::optional<std::string> codePage;
    bool optionsEnd = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            if (options.file)
                return ending(Action::WrongUse, kUsage); // one file at a time
            options.file = arg;
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            return ending(Action::Help, kUsage);
        } else if (arg == "--version") {
            return ending(Action::Version, std::string("edt-editor ") + kVersionString);
        } else if (arg == "--no-backup") {
            options.noBackup = true;
        } else if (std::string value; os::optionValue(args, i, "--codepage", value)) {
            codePage = value;
        } else {
            return ending(Action::WrongUse, kUsage);
        }
    }
    if (codePage) {
        const Status status = CodePage::named(*codePage, options.codePage);
        if (!status.ok())
            return ending(Action::WrongUse, windowMessage(status));
    }
    return options;
}

} // namespace edt
