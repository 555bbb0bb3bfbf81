// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "record/code_page.h"
#include "record/reader.h"
#include "record/status.h"
#include "translate/po.h"
#include "translate/translation.h"

namespace edt::translate {

// The limit translators see for each entry: the figure of the kind's caption, but
// never more than the entry really takes (one cut off by the end of the file takes
// fewer). The captions' figures are read once, for exports of millions of entries.
class ShownLimits {
public:
    ShownLimits(const FileKind& kind, std::uint64_t fileSize);
    // Of the entry at `index`.
    int operator()(std::size_t index) const;

private:
    EntryLayout layout_;
    bool split_;
    int captions_[2];
};

// A listed file's texts for translators, in a translation format, line breaks as
// translator_text.h has them. CSV: the header key,max,source (CODE PAGE),text, then
// one record per entry: its key, its limit, its text as source and as text. PO: one
// message per entry, the key as msgctxt, the text as msgid, an empty msgstr, the
// limit as the flag max-length:N and what key and limit mean as a comment; its header
// names the file (`fileTitle`) and the code page (X-EDT-Code-Page). The code page
// named is the source's: the one `codePage` the texts were read in. The limit is the
// kind's caption figure, or fewer where the entry holds fewer. XLSX as exportXlsx
// (xlsx.h) has it.
// A PO export with a `language` (isLanguageCode) is that language's translation as
// msginit makes one, limits kept: Language, its Plural-Forms, Last-Translator and
// Language-Team as msginit leaves them when it cannot tell.
Status exportTexts(const ReadResult& file, const std::string& fileTitle, TranslationFormat format,
                   const CodePage& codePage, std::string& content,
                   const std::string& language = {});

// The PO export's catalog, as exportTexts renders it.
po::Catalog poCatalog(const ReadResult& file, const std::string& fileTitle,
                      const CodePage& codePage, const std::string& language = {});

} // namespace edt::translate
