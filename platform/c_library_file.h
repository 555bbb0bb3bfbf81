// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// For libraries that open files by name through the C library (fopen), such as GNU
// gettext's libgettextpo: names they can open and contents they see byte for byte.

#include <string>

#include "platform/os_result.h"

namespace edt::os {

// The name under which fopen() opens the existing file at `path`. On Windows fopen()
// takes the ANSI code page: a path outside it is given in its short (8.3) form, and
// refused when the volume keeps no short names.
Result cLibraryPath(const std::string& path, std::string& name);

// Makes fopen() without "b" read and write bytes as they are, as it does on POSIX
// (Windows' text mode turns CR LF into LF and ends a file at Ctrl+Z). It holds for
// the whole process, whose own files are all opened in binary mode.
void useBinaryFileMode();

} // namespace edt::os
