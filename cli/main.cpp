// SPDX-License-Identifier: GPL-3.0-or-later
// edt-tool's entry: the arguments as UTF-8 (wmain on Windows), then the tool.
#include <cstdio>
#include <cstdlib>

#include "cli/tool.h"
#include "platform/console.h"
#include "record/vector_path.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    const edt::os::Utf8Console console;
    // EDT_SIMD=scalar runs the listing's reference path (to compare, or to rule out the
    // vector one); EDT_SIMD=avx2 names that path.
    edt::chooseVectorPath(std::getenv("EDT_SIMD"));
    return edt::cli::runTool(edt::os::utf8Arguments(argc, argv), stdout, stderr);
}
