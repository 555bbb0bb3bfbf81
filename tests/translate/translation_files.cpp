// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/translate/translation_files.h"

#include <cstdio>
#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace edt::test {

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
#ifdef _WIN32
    return status; // the exit status itself
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string lineOf(const std::string& content, std::size_t line) {
    std::size_t start = 0;
    for (std::size_t n = 1; n < line && start != std::string::npos; ++n) {
        start = content.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos)
        return {};
    return content.substr(start, content.find('\n', start) - start);
}

const std::vector<std::string>& trickyTexts() {
    static const std::vector<std::string> texts = {
        "Line one\r\nline two\r\n",
        "lone\rCR and lone\nLF",
        "\nstarts with a line break",
        "He said \"go\", then \"stop\"",
        ",\"",
        "C:\\games\\zelvar\\n is not a line break",
        "caf\xE9 \x80"
        "100 na\xEFve \xDC"
        "ber",
        "\x81\x8D\x8F\x90\x9D",
        "tab\tbell\x07 escape\x1B del\x7F end of file\x1A",
        "\nmsgid \"not a message\"\n#~ msgid \"x\"",
        "  spaces around  ",
        "\xFE\xA0\xBF",
        "",
    };
    return texts;
}

} // namespace edt::test
