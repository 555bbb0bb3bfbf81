// SPDX-License-Identifier: GPL-3.0-or-later
// On POSIX fopen() takes the path's bytes and has no text mode.
#include "platform/c_library_file.h"

namespace edt::os {

Result cLibraryPath(const std::string& path, std::string& name) {
    name = path;
    return Result::success();
}

void useBinaryFileMode() {}

} // namespace edt::os
