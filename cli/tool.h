#pragma once

#include <cstdio>

namespace edt::cli {

// Exit codes of edt-tool.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1; // refusal or failure; the file is as it was
constexpr int kExitUsage = 2;

// Runs edt-tool with its arguments (argv[0] is the program name).
int runTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

} // namespace edt::cli
