#pragma once

#include <cstdio>
#include <string>

#include "record/status.h"

namespace edt::cli {

// A file written under a temporary name beside its own and moved into place only
// once complete, so that an export that fails leaves no half-written file behind.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    Status create(const std::string& path);
    std::FILE* stream() const { return stream_; }
    // Where the content goes until commit(), for writers that need a file name.
    const std::string& temporaryPath() const { return temporaryPath_; }

    // Flushes the content to disk and gives it the final name.
    Status commit();

private:
    Status failure(const std::string& what, int errorNumber) const;

    std::string path_;
    std::string temporaryPath_;
    std::FILE* stream_ = nullptr;
};

} // namespace edt::cli
