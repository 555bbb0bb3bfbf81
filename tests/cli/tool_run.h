// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace edt::test {

// edt-tool run in this process; its standard output and error are captured.
struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};
ToolRun runTool(const std::vector<std::string>& args);

} // namespace edt::test
