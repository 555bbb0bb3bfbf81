// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "record/code_page.h"

namespace edt {

// What edt-editor's command line asks for:
// edt-editor [--codepage NAME] [--no-backup] [FILE], or --help, or --version.
struct StartOptions {
    // Run: start the window. Else the program shows `message` and ends, with exit
    // status 0 (Help, Version) or 2 (WrongUse).
    enum class Action { Run, Help, Version, WrongUse };
    Action action = Action::Run;
    std::string message;                // the usage, the version, or why a code page is refused
    const CodePage* codePage = nullptr; // --codepage's; none without
    bool noBackup = false;
    std::optional<std::string> file; // as given: it may be relative
};

// Reads the arguments (args[0] is the program's name). "--codepage=NAME" is taken as
// well as "--codepage NAME"; after "--" every argument is a file name. A code page
// that is unknown or of several bytes a character is wrong use.
StartOptions parseStartOptions(const std::vector<std::string>& args);

} // namespace edt
