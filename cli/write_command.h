// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"
#include "record/file_kind.h"

namespace edt::cli {

// edt-tool write FILE KEY TEXT: stores TEXT (escaped UTF-8) at KEY (decimal) and
// prints the new EntryLine.
int writeCommand(const std::string& path, const FileKind& kind, const std::string& key,
                 const std::string& text, const Settings& settings, std::FILE* out, std::FILE* err);

} // namespace edt::cli
