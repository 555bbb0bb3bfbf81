// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/status.h"

namespace edt {

// What a front end says beside the record core: the sentence of a status that is its
// own (of its command line, its window, the translation files it reads), and a hint
// after one of the core's sentences (its menu paths, its options). Either gives an
// empty string where it has nothing to say.
struct FrontEndWords {
    std::string (*own)(const Status& status) = nullptr;
    std::string (*hint)(const Status& status) = nullptr;
};

// The sentence users read for a status: what happened, with the file, the key, the
// limit and the system's reason, then the front end's hint, and for a write that failed
// midway what became of the bytes already written. A refused write (`ofWrite`) closes
// with " Nothing was written to entry 0000641." (or without the entry where the
// sentence names it already, or none is known).
std::string describe(const Status& status, bool ofWrite = false, const FrontEndWords& words = {});

// The text in double quotes, as messages name a file, a text or a code page.
std::string quoted(const std::string& text);

// "'é' (U+00E9)": how messages name a character (controls by number only).
std::string describeCharacter(char32_t codePoint);

} // namespace edt
