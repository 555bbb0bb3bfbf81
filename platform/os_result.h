// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace edt::os {

// What a call into the operating system was doing when it was refused.
enum class Op { Open, Examine, Read, Write, Flush, Shorten, Create, Replace, Remove, List };

// What stands at a path that is not a regular file.
enum class NotFile { None, Folder, Pipe, Device, DiskDevice, Socket, Other };

// The outcome of a call into the operating system: done, or refused with the
// operation, the system's own words for why and, for a path that names no regular
// file, what it names instead. Phrasing for users happens elsewhere.
struct Result {
    bool done = true;
    Op op = Op::Open;
    NotFile notFile = NotFile::None;
    std::string reason; // without a closing full stop

    bool ok() const { return done; }
    static Result success() { return {}; }
    static Result failure(Op op, std::string reason) {
        return {false, op, NotFile::None, std::move(reason)};
    }
    static Result notAFile(NotFile what) { return {false, Op::Open, what, {}}; }
};

// The system's words for an errno value, and the failure of `op` for it.
std::string reasonOf(int errorNumber);
Result errnoFailure(Op op, int errorNumber);

} // namespace edt::os
