// SPDX-License-Identifier: GPL-3.0-or-later
// OutputFile on Windows: the same promise as output_file_posix.cpp (a temporary file
// beside the target, moved into place only once complete), through the wide API.
#include "platform/output_file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <random>

#include "platform/wide_text.h"

namespace edt::os {
using win::failure;

namespace {

std::FILE* streamOf(void* stream) {
    return static_cast<std::FILE*>(stream);
}

// Creates a file of a fresh name `prefix` + six letters + `suffix`: CREATE_NEW fails on
// a name that exists, so the name is ours alone.
Result createFresh(const std::string& prefix, const std::string& suffix, std::string& path,
                   HANDLE& handle) {
    std::random_device random;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        path = prefix;
        for (int i = 0; i < 6; ++i)
            path += letters[random() % (sizeof letters - 1)];
        path += suffix;
        std::wstring wide;
        if (!win::toWidePath(path, wide))
            return failure(Op::Create, ERROR_INVALID_NAME);
        handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    }
    return error == ERROR_SUCCESS ? Result::success() : failure(Op::Create, error);
}

} // namespace

void removeFile(const std::string& path) {
    std::wstring wide;
    if (win::toWidePath(path, wide))
        DeleteFileW(wide.c_str());
}

OutputFile::~OutputFile() {
    if (stream_) {
        std::fclose(streamOf(stream_));
        removeFile(temporaryPath_);
    }
}

Result OutputFile::create(const std::string& path, int) {
    path_ = path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    Result result = createFresh(path + ".", "", temporaryPath_, handle);
    if (!result.ok())
        return result;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
    if (fd < 0) {
        CloseHandle(handle);
        removeFile(temporaryPath_);
        return errnoFailure(Op::Create, errno);
    }
    stream_ = _fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        _close(fd);
        removeFile(temporaryPath_);
        return errnoFailure(Op::Create, error);
    }
    return Result::success();
}

Result OutputFile::commit(bool replace) {
    std::FILE* stream = streamOf(stream_);
    stream_ = nullptr;
    Result result = Result::success();
    if (std::fflush(stream) != 0)
        result = errnoFailure(Op::Write, errno);
    else if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)))))
        result = failure(Op::Write, GetLastError());
    if (std::fclose(stream) != 0 && result.ok())
        result = errnoFailure(Op::Write, errno);
    std::wstring from, to;
    if (result.ok()) {
        if (!win::toWidePath(temporaryPath_, from) || !win::toWidePath(path_, to))
            result = failure(Op::Write, ERROR_INVALID_NAME);
        // Unlike rename() on Windows, this replaces a file of that name when asked to.
        else if (!MoveFileExW(from.c_str(), to.c_str(),
                              (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH))
            result = failure(Op::Write, GetLastError());
    }
    if (!result.ok())
        removeFile(temporaryPath_);
    return result;
}

Result createTemporaryFile(const std::string& suffix, std::string& path) {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return failure(Op::Create, GetLastError());
    HANDLE handle = INVALID_HANDLE_VALUE;
    Result result = createFresh(win::toUtf8(folder) + "edt-tool-", suffix, path, handle);
    if (result.ok())
        CloseHandle(handle);
    return result;
}

} // namespace edt::os
