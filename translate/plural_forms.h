// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace edt::translate {

// True for a language as PO files name it: ll or lll, then _CC, _NNN or _Script, then
// @modifier if any ("pl", "pt_BR", "sr@latin", "zh_Hans").
bool isLanguageCode(std::string_view language);

// The Plural-Forms header value msginit gives `language`, from gettext's plural
// table; the Germanic "nplurals=2; plural=(n != 1);" for languages it lacks.
std::string pluralForms(std::string_view language);

} // namespace edt::translate
