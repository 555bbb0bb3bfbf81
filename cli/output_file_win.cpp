// OutputFile on Windows: the same promise as output_file.cpp (a temporary file beside
// the target, moved into place only once complete), through the wide API.
#include "cli/output_file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <io.h>
#include <random>

#include "record/win_text.h"

namespace edt::cli {
namespace {

void removeFile(const std::string& path) {
    std::wstring wide;
    if (win::toWidePath(path, wide))
        DeleteFileW(wide.c_str());
}

Status windowsFailure(const std::string& what, const std::string& path, unsigned long code) {
    return Status::error(StatusCode::IoError,
                         "Cannot " + what + " \"" + path + "\": " + win::reason(code) + ".");
}

} // namespace

OutputFile::~OutputFile() {
    if (stream_) {
        std::fclose(stream_);
        removeFile(temporaryPath_);
    }
}

Status OutputFile::failure(const std::string& what, int errorNumber) const {
    return Status::error(StatusCode::IoError, "Cannot " + what + " \"" + path_ +
                                                  "\": " + systemReason(errorNumber) + ".");
}

Status OutputFile::create(const std::string& path) {
    path_ = path;
    std::random_device random;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_FILE_EXISTS;
    // CREATE_NEW fails on a name that exists: a fresh name is ours alone.
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        temporaryPath_ = path + ".";
        for (int i = 0; i < 6; ++i)
            temporaryPath_ += letters[random() % (sizeof letters - 1)];
        std::wstring wide;
        if (!win::toWidePath(temporaryPath_, wide))
            return windowsFailure("create", path_, ERROR_INVALID_NAME);
        handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    }
    if (handle == INVALID_HANDLE_VALUE)
        return windowsFailure("create", path_, error);
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
    if (fd < 0) {
        CloseHandle(handle);
        removeFile(temporaryPath_);
        return failure("create", errno);
    }
    stream_ = _fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        _close(fd);
        removeFile(temporaryPath_);
        return failure("create", error);
    }
    return Status::success();
}

Status OutputFile::commit() {
    DWORD error = ERROR_SUCCESS;
    int errorNumber = 0;
    if (std::fflush(stream_) != 0)
        errorNumber = errno;
    else if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream_)))))
        error = GetLastError();
    if (std::fclose(stream_) != 0 && errorNumber == 0 && error == ERROR_SUCCESS)
        errorNumber = errno;
    stream_ = nullptr;
    std::wstring from, to;
    if (errorNumber == 0 && error == ERROR_SUCCESS) {
        if (!win::toWidePath(temporaryPath_, from) || !win::toWidePath(path_, to))
            error = ERROR_INVALID_NAME;
        // Unlike rename() on Windows, this replaces a file of that name.
        else if (!MoveFileExW(from.c_str(), to.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = GetLastError();
    }
    if (errorNumber == 0 && error == ERROR_SUCCESS)
        return Status::success();
    removeFile(temporaryPath_);
    return errorNumber != 0 ? failure("write", errorNumber) : windowsFailure("write", path_, error);
}

} // namespace edt::cli
