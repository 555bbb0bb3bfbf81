#pragma once

#include <string_view>

#include "record/entry_line.h"

namespace edt::cli {

// A key as users give it: decimal digits, leading zeros allowed ("0000641", "641").
// False for anything else, and for numbers too large to be a position.
bool parseKey(std::string_view digits, RecordKey& key);

} // namespace edt::cli
