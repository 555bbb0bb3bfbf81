#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "record/status.h"

namespace edt {

// What makes a file the same file: where it lives on disk, its size and when it was
// last changed. Another program replacing, shortening or extending it changes this.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modifiedNs == o.modifiedNs;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// The only place that talks to the operating system's file layer: file_io.cpp on
// POSIX systems, file_io_win.cpp on Windows (where paths are UTF-8 too). Opens existing
// regular files only (never creates or truncates) and closes on destruction. Error
// messages name the file and give the system's reason.
class File {
public:
    enum class Mode { Read, Update };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    Status open(const std::string& path, Mode mode);
    void close();
#ifdef _WIN32
    bool isOpen() const {
        return handle_ != nullptr;
    }
#else
    bool isOpen() const {
        return fd_ >= 0;
    }
#endif

    Status identity(FileIdentity& out) const;

    // Reads up to `length` bytes at `offset` (zero-based); `got` is short at the end.
    Status readAt(std::uint64_t offset, void* buffer, std::size_t length, std::size_t& got) const;
    // Writes all `length` bytes at `offset` in one positioned write (retried if short).
    Status writeAt(std::uint64_t offset, const void* data, std::size_t length) const;
    // Sets the file's length: undoes a write that made the file longer.
    Status truncate(std::uint64_t size) const;
    // Flushes the file's data to the disk.
    Status sync() const;

private:
#ifdef _WIN32
    Status ioError(const char* what, unsigned long systemError) const; // a GetLastError() code

    void* handle_ = nullptr; // a Win32 HANDLE
#else
    Status ioError(const char* what, int errorNumber) const;

    int fd_ = -1;
#endif
    std::string path_;
};

} // namespace edt
