// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"
#include "record/code_page.h"
#include "record/file_kind.h"
#include "translate/translation.h"

namespace edt::cli {

// edt-tool export FILE --format csv|po [-o OUT] [--force]: every entry's key and text
// for translators; a PO with a `language` is that language's translation. Without OUT
// (or with "-") the export goes to `out`. OUT never replaces an EDT file, nor without
// `force` any existing file.
int exportCommand(const std::string& path, const FileKind& kind,
                  translate::TranslationFormat format, const std::string& outPath, bool force,
                  const Settings& settings, std::FILE* out, std::FILE* err,
                  const std::string& language = {});

// The same for every EDT file of `folder` (a name ending in .edt, in any case), each to
// a file of its name in `outFolder`, made if missing: NAME.po with a `language`, else
// NAME.pot, NAME.csv or NAME.xlsx. Without `force` an export that exists refuses them
// all before any is written. One line per file, then the total.
int exportFolderCommand(const std::string& folder, translate::TranslationFormat format,
                        const std::string& outFolder, bool force, const Settings& settings,
                        std::FILE* out, std::FILE* err, const std::string& language = {});

} // namespace edt::cli
