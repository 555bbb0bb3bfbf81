// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace edt::os {

// The small letter of a character, as the system's own tables have it (glibc's
// C.UTF-8 locale, Windows' invariant locale); the character itself when it has none.
char32_t lowerCase(char32_t character);

} // namespace edt::os
