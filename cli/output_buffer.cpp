// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_buffer.h"

#include <algorithm>
#include <cerrno>

namespace edt::cli {

OutputBuffer::OutputBuffer(std::FILE* out) : file_(out), buffer_(new char[kSize]) {}

OutputBuffer::OutputBuffer(std::string& out) : string_(&out), buffer_(new char[kSize]) {}

OutputBuffer::OutputBuffer() : buffer_(new char[kSize]) {}

void OutputBuffer::write(const char* data, std::size_t size) {
    if (string_)
        string_->append(data, size);
    else if (size != 0 && std::fwrite(data, 1, size, file_) != size && error_ == 0)
        error_ = errno;
}

void OutputBuffer::flush() {
    if (!file_ && !string_)
        return; // gathered until moveTo()
    write(buffer_.get(), used_);
    used_ = 0;
}

void OutputBuffer::makeRoom(std::size_t bytes) {
    if (file_ || string_)
        return flush();
    size_ = std::max(2 * size_, used_ + bytes);
    std::unique_ptr<char[]> larger(new char[size_]);
    std::copy(buffer_.get(), buffer_.get() + used_, larger.get());
    buffer_ = std::move(larger);
}

void OutputBuffer::moveTo(OutputBuffer& out) {
    out.flush();
    out.write(buffer_.get(), used_);
    used_ = 0;
}

int OutputBuffer::finish() {
    flush();
    if (file_ && error_ == 0 && std::fflush(file_) != 0)
        error_ = errno;
    return error_;
}

} // namespace edt::cli
