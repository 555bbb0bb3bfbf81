// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/status.h"

namespace edt {

// The sentence users read for a status: what happened, with the file, the key, the
// limit and the system's reason, and for a write that failed midway what became of
// the bytes already written. For a refused write (`ofWrite`), nothingWritten() closes
// it.
std::string describe(const Status& status, bool ofWrite = false);

// The closing clause of a write that was refused before it began: " Nothing was
// written to entry 0000641." (or without the entry when none is known); empty when
// writing had begun, since then describe() says what became of the bytes.
std::string nothingWritten(const Status& status);

// "'é' (U+00E9)": how messages name a character (controls by number only).
std::string describeCharacter(char32_t codePoint);

} // namespace edt
