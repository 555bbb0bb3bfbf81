// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace edt::win32 {

// The program's arguments as UTF-8, from the command line Windows started it with
// (the first is the program).
std::vector<std::string> commandLineArguments();

// Tells something at start in a message box, the program having no console: a
// `problem` with a warning sign, else as information.
void tellAtStart(const std::string& text, bool problem);

} // namespace edt::win32
