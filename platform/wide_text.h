// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows only: between the UTF-8 that paths and texts are everywhere else and the
// UTF-16 of Windows' wide API, and the system's words for its error codes.

#include <string>
#include <string_view>

#include "platform/os_result.h"

namespace edt::os::win {

// UTF-8 -> UTF-16; false for malformed UTF-8 or an embedded zero.
bool toWide(std::string_view utf8, std::wstring& out);
// The same for a text to show, whatever the other returns (malformed UTF-8: empty).
std::wstring toWide(std::string_view utf8);

// A path for the wide file API: UTF-16, in the \\?\ form when it is too long for the
// classic limit of 260 characters. False as toWide.
bool toWidePath(const std::string& path, std::wstring& out);

// UTF-16 -> UTF-8 (unpaired surrogates become U+FFFD).
std::string toUtf8(std::wstring_view wide);

// The system's sentence for a GetLastError() code, without its closing full stop.
std::string reason(unsigned long errorCode);

// The failure of `op` for a GetLastError() code.
Result failure(Op op, unsigned long errorCode);

} // namespace edt::os::win
