// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace edt::translate {

// Whether `cell` looks like what a spreadsheet makes of `original` when it does not
// keep the cell as text: the same number ("0641" -> "641", "10%" -> "10.00%" or
// "0.1"), the same date ("1.2.26" -> "01/02/26"), or any value of a formula ("=A1").
bool looksReformatted(std::string_view original, std::string_view cell);

} // namespace edt::translate
