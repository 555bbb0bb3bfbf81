// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_file.h"

#include "platform/file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace edt::os {
namespace {

std::FILE* streamOf(void* stream) {
    return static_cast<std::FILE*>(stream);
}

} // namespace

OutputFile::~OutputFile() {
    if (stream_) {
        std::fclose(streamOf(stream_));
        ::unlink(temporaryPath_.c_str());
    }
}

Result OutputFile::create(const std::string& path, int newMode) {
    path_ = path;
    temporaryPath_ = path + ".XXXXXX";
    const int fd = ::mkstemp(temporaryPath_.data());
    if (fd < 0)
        return errnoFailure(Op::Create, errno);
    // mkstemp makes the file private; give it the mode a new file or the old one has.
    struct stat old {};
    mode_t mode = 0;
    if (newMode >= 0) {
        mode = static_cast<mode_t>(newMode) & 07777;
    } else if (::stat(path.c_str(), &old) == 0) {
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
        return errnoFailure(Op::Create, error);
    }
    return Result::success();
}

Result OutputFile::commit(bool replace) {
    int error = 0;
    if (std::fflush(streamOf(stream_)) != 0 || ::fsync(::fileno(streamOf(stream_))) != 0)
        error = errno;
    if (std::fclose(streamOf(stream_)) != 0 && error == 0)
        error = errno;
    stream_ = nullptr;
    if (error == 0 && replace && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
        error = errno;
    // A hard link is made only where no name is: nothing planted there is followed or
    // replaced.
    if (error == 0 && !replace && ::link(temporaryPath_.c_str(), path_.c_str()) != 0)
        error = errno;
    if (!replace || error != 0)
        ::unlink(temporaryPath_.c_str());
    if (error != 0)
        return errnoFailure(Op::Write, error);
    // Until its folder is flushed, a power cut may still lose the new name.
    std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
    return syncFolder(folder.empty() ? "." : folder);
}

Result createTemporaryFile(const std::string& suffix, std::string& path) {
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir && *dir ? dir : "/tmp") + "/edt-tool-XXXXXX" + suffix;
    const int fd = ::mkstemps(path.data(), static_cast<int>(suffix.size()));
    if (fd < 0)
        return errnoFailure(Op::Create, errno);
    ::close(fd);
    return Result::success();
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

} // namespace edt::os
