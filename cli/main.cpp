#include "cli/tool.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

#include "record/win_text.h"

namespace {

// The console shows our UTF-8 output as such while we run, and gets its own code
// page back afterwards.
class Utf8Console {
public:
    Utf8Console() : previous_(GetConsoleOutputCP()) {
        if (previous_ != 0)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8Console() {
        if (previous_ != 0)
            SetConsoleOutputCP(previous_);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT previous_;
};

} // namespace

// Windows hands main() its arguments in the ANSI code page, which cannot hold every
// file name or text; the wide ones become the UTF-8 that the tool works in. Standard
// output is binary, so that listings and exports are the same bytes as on other
// systems (a CSV's CR LF would otherwise become CR CR LF).
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i)
        args.push_back(edt::win::toUtf8(argv[i]));
    std::vector<const char*> pointers;
    for (const std::string& arg : args)
        pointers.push_back(arg.c_str());
    _setmode(_fileno(stdout), _O_BINARY);
    const Utf8Console console;
    return edt::cli::runTool(argc, pointers.data(), stdout, stderr);
}

#else

int main(int argc, char** argv) {
    return edt::cli::runTool(argc, argv, stdout, stderr);
}

#endif
