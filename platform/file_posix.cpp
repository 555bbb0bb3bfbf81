// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace edt::os {
namespace {

int fdOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

NotFile typeOf(mode_t mode) {
    return S_ISDIR(mode)    ? NotFile::Folder
           : S_ISFIFO(mode) ? NotFile::Pipe
           : S_ISCHR(mode)  ? NotFile::Device
           : S_ISBLK(mode)  ? NotFile::DiskDevice
           : S_ISSOCK(mode) ? NotFile::Socket
                            : NotFile::Other;
}

// Whether every position of [offset, offset + length) is a valid off_t.
bool fitsOffset(std::uint64_t offset, std::size_t length) {
    const auto limit = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    return offset <= limit && length <= limit - offset;
}

// strerror itself may share one buffer between threads. glibc's strerror_r returns
// the text (GNU form) or fills the buffer (XSI form), depending on feature macros.
[[maybe_unused]] const char* reasonText(int, const char* buffer) {
    return buffer;
}
[[maybe_unused]] const char* reasonText(const char* text, const char*) {
    return text;
}

} // namespace

std::string reasonOf(int errorNumber) {
    char buffer[256] = {};
    return reasonText(strerror_r(errorNumber, buffer, sizeof buffer), buffer);
}

Result errnoFailure(Op op, int errorNumber) {
    return Result::failure(op, reasonOf(errorNumber));
}

Result File::open(const std::string& path, Mode mode) {
    close();
    // Opening a device can have effects of its own (a tape rewinds, a modem hangs
    // up), so anything but a regular file is refused before it is opened. The check
    // after opening below is the one that counts; this one only spares the device.
    struct stat before {};
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode))
        return Result::notAFile(typeOf(before.st_mode));
    // Never create or truncate but in Create mode. O_NONBLOCK keeps a FIFO from blocking
    // the open; it has no effect on regular files, the only kind we go on with.
    const int flags = (mode == Mode::Read     ? O_RDONLY
                       : mode == Mode::Update ? O_RDWR
                                              : O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW) |
                      O_NONBLOCK | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errnoFailure(Op::Open, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return errnoFailure(Op::Open, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Result::notAFile(typeOf(info.st_mode));
    }
    handle_ = fd;
    return Result::success();
}

void File::close() {
    if (handle_ != kClosed) {
        ::close(fdOf(handle_));
        handle_ = kClosed;
    }
}

namespace {

FileIdentity identityOf(const struct stat& info) {
    FileIdentity id;
    id.device = static_cast<std::uint64_t>(info.st_dev);
    id.inode = static_cast<std::uint64_t>(info.st_ino);
    id.size = static_cast<std::uint64_t>(info.st_size);
    id.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return id;
}

} // namespace

Result File::identity(FileIdentity& out) const {
    struct stat info {};
    if (::fstat(fdOf(handle_), &info) != 0)
        return errnoFailure(Op::Examine, errno);
    out = identityOf(info);
    return Result::success();
}

int File::permissions() const {
    struct stat info {};
    return ::fstat(fdOf(handle_), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : 0600;
}

Result File::readAt(std::uint64_t offset, void* buffer, std::size_t length,
                    std::size_t& got) const {
    got = 0;
    if (!fitsOffset(offset, length))
        return errnoFailure(Op::Read, EFBIG);
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < length) {
        const ssize_t n =
            ::pread(fdOf(handle_), out + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errnoFailure(Op::Read, errno);
        }
        if (n == 0)
            break; // end of file
        got += static_cast<std::size_t>(n);
    }
    return Result::success();
}

Result File::writeAt(std::uint64_t offset, const void* data, std::size_t length) const {
    if (!fitsOffset(offset, length))
        return errnoFailure(Op::Write, EFBIG);
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pwrite(fdOf(handle_), in + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errnoFailure(Op::Write, errno);
        }
        if (n == 0)
            return errnoFailure(Op::Write, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return Result::success();
}

Result File::truncate(std::uint64_t size) const {
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return errnoFailure(Op::Shorten, EFBIG);
    while (::ftruncate(fdOf(handle_), static_cast<off_t>(size)) != 0) {
        if (errno != EINTR)
            return errnoFailure(Op::Shorten, errno);
    }
    return Result::success();
}

Result File::sync() const {
    while (::fsync(fdOf(handle_)) != 0) {
        if (errno != EINTR)
            return errnoFailure(Op::Flush, errno);
    }
    return Result::success();
}

bool File::lock(int waitMs) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fdOf(handle_), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return true; // no locks on this file system
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void File::unlock() const {
    ::flock(fdOf(handle_), LOCK_UN);
}

Result syncFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errnoFailure(Op::Flush, errno);
    int error = 0;
    while (::fsync(fd) != 0 && (error = errno) == EINTR)
        error = 0;
    ::close(fd);
    // Some file systems cannot flush a folder; their names reach the disk anyway.
    return error == 0 || error == EINVAL ? Result::success() : errnoFailure(Op::Flush, error);
}

bool identityAt(const std::string& path, FileIdentity& out) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    out = identityOf(info);
    return true;
}

Result readStandardInput(std::string& content, std::size_t limit) {
    content.clear();
    char buffer[1 << 16];
    while (content.size() <= limit) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errnoFailure(Op::Read, errno);
        if (n == 0)
            return Result::success();
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return Result::success();
}

} // namespace edt::os
