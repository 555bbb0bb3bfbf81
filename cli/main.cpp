// SPDX-License-Identifier: GPL-3.0-or-later
// edt-tool's entry: the arguments as UTF-8 (wmain on Windows), then the tool.
#include <cstdio>

#include "cli/tool.h"
#include "platform/console.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    const edt::os::Utf8Console console;
    return edt::cli::runTool(edt::os::utf8Arguments(argc, argv), stdout, stderr);
}
