// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/code_page.h"
#include "record/reader.h"
#include "record/status.h"
#include "translate/translation.h"

namespace edt::translate {

// A listed file's texts for translators, in a translation format. CSV: the header
// key,text, then one record per entry. PO: one message per entry, the key as msgctxt,
// the text as msgid, an empty msgstr, and the most characters the entry holds as a
// comment; its header names the file (`fileTitle`) and the code page.
Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   const CodePage& codePage, std::string& content);

} // namespace edt::translate
