// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_file.h"

#include <cerrno>
#include <cstdio>

namespace edt::os {

Result OutputFile::write(const void* data, std::size_t length) {
    if (std::fwrite(data, 1, length, static_cast<std::FILE*>(stream_)) != length)
        return errnoFailure(Op::Write, errno);
    return Result::success();
}

Result writeWholeFile(const std::string& path, const void* data, std::size_t length) {
    OutputFile output;
    Result result = output.create(path);
    if (result.ok())
        result = output.write(data, length);
    if (result.ok())
        result = output.commit();
    return result;
}

Result writeNewFile(const std::string& path, const void* data, std::size_t length, int mode) {
    OutputFile output;
    Result result = output.create(path, mode);
    if (result.ok())
        result = output.write(data, length);
    if (result.ok())
        result = output.commit(false);
    return result;
}

} // namespace edt::os
