// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "record/code_page.h"

namespace edt::cli {

// edt-tool list FILE: the kind's limit caption, then one escaped EntryLine per entry.
int listCommand(const std::string& path, const CodePage& codePage, std::FILE* out,
                std::FILE* err);

} // namespace edt::cli
