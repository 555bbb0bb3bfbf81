// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"
#include "record/code_page.h"
#include "record/file_kind.h"

namespace edt::cli {

// edt-tool list FILE: the kind's limit caption, then one escaped EntryLine per entry.
int listCommand(const std::string& path, const FileKind& kind, const Settings& settings,
                std::FILE* out, std::FILE* err);

} // namespace edt::cli
