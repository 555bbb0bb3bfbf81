// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_buffer.h"

#include <cerrno>

namespace edt::cli {

OutputBuffer::OutputBuffer(std::FILE* out) : file_(out), buffer_(new char[kSize]) {}

OutputBuffer::OutputBuffer(std::string& out) : string_(&out), buffer_(new char[kSize]) {}

void OutputBuffer::flush() {
    if (string_)
        string_->append(buffer_.get(), used_);
    else if (used_ != 0 && std::fwrite(buffer_.get(), 1, used_, file_) != used_ && error_ == 0)
        error_ = errno;
    used_ = 0;
}

int OutputBuffer::finish() {
    flush();
    if (file_ && error_ == 0 && std::fflush(file_) != 0)
        error_ = errno;
    return error_;
}

} // namespace edt::cli
