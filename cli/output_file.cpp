#include "cli/output_file.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace edt::cli {

OutputFile::~OutputFile() {
    if (stream_) {
        std::fclose(stream_);
        ::unlink(temporaryPath_.c_str());
    }
}

Status OutputFile::failure(const std::string& what, int errorNumber) const {
    return Status::error(StatusCode::IoError, "Cannot " + what + " \"" + path_ +
                                                  "\": " + systemReason(errorNumber) + ".");
}

Status OutputFile::create(const std::string& path) {
    path_ = path;
    temporaryPath_ = path + ".XXXXXX";
    const int fd = ::mkstemp(temporaryPath_.data());
    if (fd < 0)
        return failure("create", errno);
    // mkstemp makes the file private; give it the mode a new file or the old one has.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporaryPath_.c_str());
        return failure("create", error);
    }
    return Status::success();
}

Status OutputFile::commit() {
    int error = 0;
    if (std::fflush(stream_) != 0 || ::fsync(::fileno(stream_)) != 0)
        error = errno;
    if (std::fclose(stream_) != 0 && error == 0)
        error = errno;
    stream_ = nullptr;
    if (error == 0 && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporaryPath_.c_str());
        return failure("write", error);
    }
    return Status::success();
}

} // namespace edt::cli
