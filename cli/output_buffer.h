// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace edt::cli {

// Output gathered and written in large pieces (a listing or an export can be hundreds
// of MB), to a stream or onto the end of a string. Lines are written straight into the
// buffer, which is flushed whenever the room left might not hold the next line.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* out);
    explicit OutputBuffer(std::string& out);
    // Gathers in memory only, growing as needed, until moveTo(): one block of a
    // listing made on several threads, written out in turn.
    OutputBuffer();

    // Where the next `bytes` bytes go (at most kSize); flushes (or grows) first when
    // they might not fit.
    char* room(std::size_t bytes) {
        if (bytes > size_ - used_)
            makeRoom(bytes);
        return buffer_.get() + used_;
    }
    // Keeps what was written up to `end`.
    void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
    void flush();
    // Writes what is left and returns 0, or the errno of the first write that failed.
    int finish();
    // Writes what this buffer gathered after what `out` holds, and empties it.
    void moveTo(OutputBuffer& out);

    static constexpr std::size_t kSize = 1 << 20;

private:
    void makeRoom(std::size_t bytes);
    void write(const char* data, std::size_t size);

    std::FILE* file_ = nullptr;
    std::string* string_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = kSize;
    std::size_t used_ = 0;
    int error_ = 0;
};

} // namespace edt::cli
