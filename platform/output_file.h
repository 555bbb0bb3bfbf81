// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "platform/os_result.h"

namespace edt::os {

// A file written under a temporary name beside its own and moved into place only
// once complete, so that a write that fails leaves no half-written file behind.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // `mode`: the permission bits of the new file (POSIX); by default those of the file
    // it replaces, or a new file's under the umask.
    Result create(const std::string& path, int mode = -1);
    Result write(const void* data, std::size_t length);
    // Where the content goes until commit(), for writers that need a file name.
    const std::string& temporaryPath() const { return temporaryPath_; }
    // Flushes the content to disk and gives it the final name, flushing that name into
    // its folder too. Without `replace`, a file or link already at the name is left as
    // it is and the commit refused.
    Result commit(bool replace = true);

private:
    std::string path_;
    std::string temporaryPath_;
    void* stream_ = nullptr; // a std::FILE
};

// Writes `length` bytes as the whole content of `path`, through an OutputFile.
Result writeWholeFile(const std::string& path, const void* data, std::size_t length);

// Writes a new file of `length` bytes at `path` with the permission bits `mode`, never
// over anything already there (a file, a link planted at the name).
Result writeNewFile(const std::string& path, const void* data, std::size_t length, int mode);

// A name for a scratch file in the system's temporary folder, created empty and
// private, ending in `suffix`; the caller removes it.
Result createTemporaryFile(const std::string& suffix, std::string& path);
void removeFile(const std::string& path);

} // namespace edt::os
