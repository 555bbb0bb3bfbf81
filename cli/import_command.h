// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include <optional>

#include "cli/tool.h"
#include "record/file_kind.h"
#include "translate/import_plan.h"
#include "translate/translation.h"

namespace edt::cli {

// edt-tool import FILE TRANSLATION [--format csv|po] [--dry-run] [--force]
// [--recode-untranslated] (and check FILE TRANSLATION, a dry run; "-" for standard
// input, with its format given): checks every translated text against FILE and lists every problem
// with its line in TRANSLATION; only when there is none, and not for a dry run, writes the changed
// entries, all or nothing. The texts go in the target code page: --codepage, else the PO's
// Language, else the default; the originals are read in the one the translation names. Notes on
// `err` name untranslated originals that read differently in the target. Ends with a summary on
// `out`.
struct ImportRequest {
    bool dryRun = false;
    bool check = false; // the check command: a dry run that says nothing of writing
    translate::ImportOptions options;
    std::string sheet; // of an XLSX workbook; empty: the first
};

int importCommand(const std::string& path, const FileKind& kind, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format, const ImportRequest& request,
                  const Settings& settings, std::FILE* out, std::FILE* err);

// The same for every EDT file of `folder` (a name ending in .edt, in any case) with the
// translation of its name in `translationFolder` (.po, .csv or .xlsx, in any case; of
// `format` only, if given): every file planned and checked first, and if any has a
// problem, all are listed and no file is written. An EDT file without a translation,
// and a translation without an EDT file, are named and left out. One line per file,
// then the totals.
int importFolderCommand(const std::string& folder, const std::string& translationFolder,
                        std::optional<translate::TranslationFormat> format,
                        const ImportRequest& request, const Settings& settings, std::FILE* out,
                        std::FILE* err);

} // namespace edt::cli
