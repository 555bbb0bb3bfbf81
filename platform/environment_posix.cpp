// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "platform/environment.h"

namespace edt::os {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

Environment environment() {
    Environment env;
    env.codePage = variable("EDT_CODEPAGE");
    env.noBackup = variable("EDT_NO_BACKUP") == "1";
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        env.locale = variable(name);
        if (!env.locale.empty())
            break;
    }
    return env;
}

} // namespace edt::os
