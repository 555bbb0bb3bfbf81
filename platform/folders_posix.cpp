// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "platform/folders.h"

namespace edt::os {

std::string stateFolder() {
    // A relative $XDG_STATE_HOME is to be ignored.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return state;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const struct passwd* account = ::getpwuid(::getuid());
        home = account ? account->pw_dir : nullptr;
    }
    return home && *home == '/' ? std::string(home) + "/.local/state" : std::string();
}

} // namespace edt::os
