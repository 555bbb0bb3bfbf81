// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "cli/tool.h"
#include "record/code_page.h"
#include "record/file_kind.h"
#include "record/status.h"
#include "translate/import_plan.h"
#include "translate/translation.h"

namespace edt::cli {

// One EDT file's part of an import: its translation, read, and the checked plan.
struct FilePlan {
    std::string path; // the EDT file
    FileKind kind;
    std::string translationPath;
    translate::Translation translation;
    translate::ImportPlan plan;
    const CodePage* source = nullptr; // the originals were read in it
    const CodePage* target = nullptr; // the texts are written in it
    std::string origin;               // where the target came from
    Status status;                    // the file or the translation cannot be read
    OpenFile file;                    // open, and locked for an import that `writes`
};

// Reads the translation at `translationPath` (in `format`; none: refused as of an
// unknown format; "-": standard input; an empty path: no translation at all) and plans
// its import into `path`: the texts in the target code page (--codepage, else the PO's
// Language, else the default), the originals in the one the translation names. A
// translation larger than any the file could take is refused unread. The translation is
// read before the file is opened (openFile; it may come through a pipe from a program
// reading the file), which stays locked for an import that `writes`.
FilePlan planFile(const std::string& path, const FileKind& kind, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format,
                  const translate::ImportOptions& options, const std::string& sheet,
                  const Settings& settings, bool writes, std::FILE* err);

} // namespace edt::cli
