// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/status.h"

namespace edt {

// The sentence users read for a status: what happened, with the file, the key, the
// limit and the system's reason, and for a write that failed midway what became of
// the bytes already written. Front ends add their own closing clause.
std::string describe(const Status& status);

// "'é' (U+00E9)": how messages name a character (controls by number only).
std::string describeCharacter(char32_t codePoint);

} // namespace edt
