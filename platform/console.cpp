// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/console.h"

namespace edt::os {

bool optionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                 std::string& value) {
    if (args[i] == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    if (args[i].rfind(name + "=", 0) != 0)
        return false;
    value = args[i].substr(name.size() + 1);
    return true;
}

} // namespace edt::os
