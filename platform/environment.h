// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace edt::os {

// What the program's environment says, read by the front ends and passed on: the
// libraries below them never look at it themselves.
struct Environment {
    std::string codePage;  // EDT_CODEPAGE: the code page of the texts, when none is chosen
    bool noBackup = false; // EDT_NO_BACKUP=1: write without a backup copy
    std::string locale;    // the first of LC_ALL, LC_CTYPE and LANG that is set (not on Windows)
};

Environment environment();

} // namespace edt::os
