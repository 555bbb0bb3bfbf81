#pragma once

#include <string>

#include "record/status.h"

namespace edt::cli {

// Reads a whole regular file (a translation, not an EDT file) into memory.
Status readWholeFile(const std::string& path, std::string& content);

} // namespace edt::cli
