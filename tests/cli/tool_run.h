// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "record/escaped_text.h"

namespace edt::test {

// edt-tool run in this process; its standard output and error are captured.
struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};
ToolRun runTool(const std::vector<std::string>& args);

// edt-tool's escapes for Windows-1252.
const Escaper& escaper();

} // namespace edt::test
