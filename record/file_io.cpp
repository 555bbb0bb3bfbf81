#include "record/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace edt {

File::~File() {
    close();
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

namespace {

Status notRegular(const std::string& path, mode_t mode) {
    const char* what = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a pipe"
                       : S_ISCHR(mode)  ? "a device"
                       : S_ISBLK(mode)  ? "a disk device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "not a plain file";
    return Status::error(StatusCode::NotRegularFile,
                         "\"" + path + "\" is " + what + ", not an EDT file.");
}

// Whether every position of [offset, offset + length) is a valid off_t.
bool fitsOffset(std::uint64_t offset, std::size_t length) {
    const auto limit = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    return offset <= limit && length <= limit - offset;
}

} // namespace

Status File::ioError(const char* what, int errorNumber) const {
    return Status::error(StatusCode::IoError, std::string(what) + " \"" + path_ +
                                                  "\": " + systemReason(errorNumber) + ".");
}

Status File::open(const std::string& path, Mode mode) {
    close();
    path_ = path;
    // Opening a device can have effects of its own (a tape rewinds, a modem hangs
    // up), so anything but a regular file is refused before it is opened. The check
    // after opening below is the one that counts; this one only spares the device.
    struct stat before {};
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode))
        return notRegular(path, before.st_mode);
    // Never create or truncate. O_NONBLOCK keeps a FIFO from blocking the open; it has
    // no effect on regular files, the only kind we go on with.
    const int flags = (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return ioError("Cannot open", errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return ioError("Cannot open", error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return notRegular(path, info.st_mode);
    }
    fd_ = fd;
    return Status::success();
}

void File::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Status File::identity(FileIdentity& out) const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return ioError("Cannot examine", errno);
    out.device = static_cast<std::uint64_t>(info.st_dev);
    out.inode = static_cast<std::uint64_t>(info.st_ino);
    out.size = static_cast<std::uint64_t>(info.st_size);
    out.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return Status::success();
}

Status File::readAt(std::uint64_t offset, void* buffer, std::size_t length,
                    std::size_t& got) const {
    got = 0;
    if (!fitsOffset(offset, length))
        return ioError("Cannot read", EFBIG);
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < length) {
        const ssize_t n = ::pread(fd_, out + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ioError("Cannot read", errno);
        }
        if (n == 0)
            break; // end of file
        got += static_cast<std::size_t>(n);
    }
    return Status::success();
}

Status File::writeAt(std::uint64_t offset, const void* data, std::size_t length) const {
    if (!fitsOffset(offset, length))
        return ioError("Cannot write", EFBIG);
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pwrite(fd_, in + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ioError("Cannot write", errno);
        }
        if (n == 0)
            return ioError("Cannot write", ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return Status::success();
}

Status File::truncate(std::uint64_t size) const {
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return ioError("Cannot shorten", EFBIG);
    while (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR)
            return ioError("Cannot shorten", errno);
    }
    return Status::success();
}

Status File::sync() const {
    while (::fsync(fd_) != 0) {
        if (errno != EINTR)
            return ioError("Cannot flush to disk", errno);
    }
    return Status::success();
}

} // namespace edt
