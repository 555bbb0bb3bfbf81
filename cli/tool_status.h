// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/status.h"

namespace edt::cli {

// What edt-tool's own commands report: its command line, its exports and the
// translations it reads (phrased in words.cpp).
struct ToolCode {
    // path: a translation whose format its name does not tell
    static constexpr StatusCode UnknownFormat{200};
    // path: the export would replace the file it exports
    static constexpr StatusCode ExportOverSource{201};
    // path: the export would replace a file (no --force)
    static constexpr StatusCode ExportExists{202};
    // path: the export would replace an EDT file
    static constexpr StatusCode ExportOverEdtFile{203};
    // path: the translation; limit; detail: the EDT file
    static constexpr StatusCode TranslationTooLarge{204};
    // path: the translation
    static constexpr StatusCode TranslationOutOfMemory{205};
};

} // namespace edt::cli
