// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os_result.h"

namespace edt::os {

// What makes a file the same file: where it lives on disk, its size and when it was
// last changed. Another program replacing, shortening or extending it changes this.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool sameFile(const FileIdentity& o) const { return device == o.device && inode == o.inode; }
    bool operator==(const FileIdentity& o) const {
        return sameFile(o) && size == o.size && modifiedNs == o.modifiedNs;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// An open regular file, read and written by position: file_posix.cpp, file_win.cpp
// (where paths are UTF-8 too). Read and Update open existing regular files only, never
// creating or truncating them; Create makes a new private file of the program's own (a
// journal), refused when any file or link is at the name already, so that nothing
// planted there is followed or emptied. Closes on destruction.
class File {
public:
    enum class Mode { Read, Update, Create };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    Result open(const std::string& path, Mode mode);
    void close();
    bool isOpen() const { return handle_ != kClosed; }

    Result identity(FileIdentity& out) const;
    // The file's permission bits (POSIX; 0600 on Windows, where access rules decide).
    int permissions() const;
    // Reads up to `length` bytes at `offset` (zero-based); `got` is short at the end.
    Result readAt(std::uint64_t offset, void* buffer, std::size_t length, std::size_t& got) const;
    // Writes all `length` bytes at `offset`.
    Result writeAt(std::uint64_t offset, const void* data, std::size_t length) const;
    // Sets the file's length: undoes a write that made the file longer.
    Result truncate(std::uint64_t size) const;
    // Flushes the file's data to the disk.
    Result sync() const;
    // Takes the exclusive write lock of the file (flock; on Windows LockFileEx on a byte
    // far past any content, so that reading and writing stay free), retrying for up to
    // `waitMs` milliseconds. False while another open file holds it. Where the file
    // system has no locks, it goes on unlocked. Released by unlock() or close().
    bool lock(int waitMs) const;
    void unlock() const;

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed; // a descriptor, or a Win32 HANDLE
};

// The identity of the regular file `path` names now; false when it names none.
bool identityAt(const std::string& path, FileIdentity& out);

// Reads `length` bytes at `offset` into `out`, which is shorter at the end of the file.
Result readRange(const File& file, std::uint64_t offset, std::size_t length, std::string& out);

// Reads a whole regular file into memory.
Result readWholeFile(const std::string& path, std::string& content);

// Reads standard input to its end; more than `limit` bytes stop it (`content` then
// holds more than `limit`, and the rest is left unread).
Result readStandardInput(std::string& content, std::size_t limit = static_cast<std::size_t>(-1));

// Flushes a folder's list of names to the disk (a file created or removed in it).
Result syncFolder(const std::string& path);

} // namespace edt::os
