// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"

namespace edt::cli {

// edt-tool stats FILE TRANSLATION, or DIR TRANSLATIONS: how far each file's translation
// is, as an import would see it: entries, translated, fuzzy, untranslated, over the
// limit, stale, other problems and the share translated, one row per file and a total
// row; an aligned table, or CSV for scripts. A folder's EDT file without a translation
// counts as untranslated. Fails when a file or translation cannot be read.
int statsCommand(const std::string& path, const std::string& translationPath, bool csv,
                 const Settings& settings, std::FILE* out, std::FILE* err);

} // namespace edt::cli
