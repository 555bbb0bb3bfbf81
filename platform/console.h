// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace edt::os {

// A command-line program's arguments as UTF-8. On Windows they come from the wide
// arguments of wmain: main()'s are in the ANSI code page, which cannot hold every file
// name or text.
#ifdef _WIN32
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);
#else
std::vector<std::string> utf8Arguments(int argc, char** argv);
#endif

// Takes an option's value at args[i], given as "NAME VALUE" or "NAME=VALUE", and moves
// `i` past it; false when args[i] is not that option with its value. Both programs read
// their options (--codepage above all) this one way.
bool optionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                 std::string& value);

// For the life of the object, standard output and the console take the program's
// UTF-8 bytes as they are: on Windows the console shows UTF-8 (and gets its own code
// page back afterwards) and standard output is binary, so that listings and exports
// are the same bytes as on other systems. Nothing to do elsewhere.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned previous_ = 0;
};

} // namespace edt::os
