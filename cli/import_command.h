// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include <optional>

#include "cli/tool.h"
#include "translate/translation.h"

namespace edt::cli {

// edt-tool import FILE TRANSLATION [--format csv|po] [--dry-run] (and check FILE
// TRANSLATION, the same as --dry-run; "-" for standard input, with its format given):
// checks every translated text against FILE and lists every problem
// with its line in TRANSLATION; only when there is none, and not for a dry run, writes
// the changed entries, all or nothing. Ends with a summary line on `out`.
int importCommand(const std::string& path, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format, bool dryRun,
                  const Settings& settings, std::FILE* out, std::FILE* err);

} // namespace edt::cli
