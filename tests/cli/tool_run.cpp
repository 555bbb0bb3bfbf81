// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/cli/tool_run.h"

#include <cstdio>

#include "cli/tool.h"
#include "tests/support/test_support.h"

namespace edt::test {
namespace {

std::string drain(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

} // namespace

ToolRun runTool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"edt-tool"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    run.code = cli::runTool(argv, out, err);
    run.out = drain(out);
    run.err = drain(err);
    return run;
}

const Escaper& escaper() {
    static const Escaper windows1252(codePage());
    return windows1252;
}

} // namespace edt::test
