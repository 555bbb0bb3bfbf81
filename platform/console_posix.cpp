// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/console.h"

namespace edt::os {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

} // namespace edt::os
