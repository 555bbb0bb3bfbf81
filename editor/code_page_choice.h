// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "record/code_page.h"

namespace edt {

// The code pages a window reads files in, the same for every toolkit.

// When none is chosen: the host's default for the environment given at start, or
// Windows-1252 where its EDT_CODEPAGE names none (a window has no command line to
// refuse it on).
const CodePage& defaultCodePage();
void useEnvironment(const os::Environment& environment);

// The code page of a name the window offered or kept; the default where it names none.
const CodePage& codePageOrDefault(std::string_view name);

// Every code page the open dialog offers, found once.
const std::vector<std::string>& offeredCodePages();

} // namespace edt
