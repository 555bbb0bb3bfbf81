// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/reader.h"
#include "record/status.h"
#include "translate/translation.h"

namespace edt::translate {

// A listed file's texts for translators, in a translation format. CSV: the header
// key,text, then one record per entry. PO: one message per entry, the key as msgctxt,
// the text as msgid, an empty msgstr, and the most characters the entry holds as a
// comment. `fileTitle` names the file in the PO header.
Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   std::string& content);

} // namespace edt::translate
