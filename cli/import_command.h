// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "record/code_page.h"

namespace edt::cli {

// edt-tool import FILE TRANSLATION [--dry-run] (and check FILE TRANSLATION, the same
// as --dry-run): checks every translated text against FILE and lists every problem
// with its line in TRANSLATION; only when there is none, and not for a dry run, writes
// the changed entries, all or nothing. Ends with a summary line on `out`.
int importCommand(const std::string& path, const std::string& translationPath, bool dryRun,
                  const CodePage& codePage, std::FILE* out, std::FILE* err);

} // namespace edt::cli
