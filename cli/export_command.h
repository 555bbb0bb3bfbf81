#pragma once

#include <cstdio>
#include <string>

#include "cli/translation.h"

namespace edt::cli {

// edt-tool export FILE --format csv|po [-o OUT]: every entry's key and text for
// translators. CSV: the header key,text, then one record per entry. PO: one message
// per entry, key as msgctxt, text as msgid, an empty msgstr, and the most characters
// the entry holds as a comment. Without OUT (or with "-") the export goes to `out`.
int exportCommand(const std::string& path, TranslationFormat format, const std::string& outPath,
                  std::FILE* out, std::FILE* err);

} // namespace edt::cli
