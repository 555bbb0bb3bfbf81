// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "record/code_page.h"
#include "record/shown_text.h"
#include "record/status.h"

namespace edt::translate {

// A short one-line view of a text for a message: line breaks as "\n", at most
// `most` characters, then "...".
std::string shortView(std::string_view utf8, std::size_t most = 40);

} // namespace edt::translate
