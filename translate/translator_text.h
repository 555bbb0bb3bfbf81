// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/status.h"

namespace edt::translate {

// A text as translators' files hold it, in UTF-8: each CR LF of the file a plain line
// break ("\n"), as translation tools and spreadsheets expect; a lone CR or LF the
// stand-in the editor shows for it (record/text_marks.h).
std::string toTranslatorText(std::string_view bytes, const CodePage& codePage);

// Back to bytes of `codePage`: "\n" and "\r\n" (what version 1.0.1 wrote) are CR LF, a
// lone "\r" is CR, the stand-ins their byte. Fails as CodePage::fromUtf8 does.
Status fromTranslatorText(std::string_view utf8, const CodePage& codePage, std::string& bytes);

// A short one-line view of a text for a message: line breaks as "\n", at most
// `most` characters, then "...".
std::string shortView(std::string_view utf8, std::size_t most = 40);

} // namespace edt::translate
