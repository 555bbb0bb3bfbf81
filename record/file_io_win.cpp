// The file layer on Windows. Same promises as the POSIX one in file_io.cpp: paths are
// UTF-8, files are opened by position without creating or truncating them, and errors
// carry the system's own words.
#include "record/file_io.h"

#include "record/win_text.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace edt {
namespace {

// Largest single ReadFile/WriteFile request; the loops below go on from there.
constexpr std::size_t kMaxRequest = std::size_t{1} << 30;

// FILETIME counts 100 ns steps from 1601; identities use ns from 1970 like POSIX.
constexpr std::int64_t kFileTimeToUnixEpoch = 116444736000000000;

HANDLE toHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

Status notRegular(const std::string& path, bool folder) {
    return Status::error(StatusCode::NotRegularFile,
                         "\"" + path + "\" is " + (folder ? "a folder" : "not a regular file") +
                             ", not an EDT file.");
}

} // namespace

File::~File() {
    close();
}

File::File(File&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
    other.handle_ = nullptr;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.handle_ = nullptr;
    }
    return *this;
}

Status File::ioError(const char* what, unsigned long systemError) const {
    return Status::error(StatusCode::IoError, std::string(what) + " \"" + path_ +
                                                  "\": " + win::reason(systemError) + ".");
}

Status File::open(const std::string& path, Mode mode) {
    close();
    path_ = path;
    std::wstring wide;
    if (!win::toWidePath(path, wide))
        return ioError("Cannot open", ERROR_INVALID_NAME);
    // CreateFileW cannot open a folder without backup semantics and would only say
    // "access denied"; name the real reason instead.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return notRegular(path, true);
    // Never create or truncate; let other programs go on reading, writing and
    // renaming the file, as they can on POSIX systems.
    const DWORD access = mode == Mode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE handle =
        CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ioError("Cannot open", GetLastError());
    // Pipes, consoles and devices (NUL, COM1 ...) are not disk files.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return notRegular(path, false);
    }
    handle_ = handle;
    return Status::success();
}

void File::close() {
    if (handle_) {
        CloseHandle(toHandle(handle_));
        handle_ = nullptr;
    }
}

Status File::identity(FileIdentity& out) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(toHandle(handle_), &info))
        return ioError("Cannot examine", GetLastError());
    out.device = info.dwVolumeSerialNumber;
    out.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    out.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    out.modifiedNs = (ticks - kFileTimeToUnixEpoch) * 100;
    return Status::success();
}

Status File::readAt(std::uint64_t offset, void* buffer, std::size_t length,
                    std::size_t& got) const {
    got = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < length) {
        OVERLAPPED where = at(offset + got);
        const DWORD want = static_cast<DWORD>(std::min(length - got, kMaxRequest));
        DWORD n = 0;
        if (!ReadFile(toHandle(handle_), out + got, want, &n, &where)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            return ioError("Cannot read", error);
        }
        if (n == 0)
            break; // end of file
        got += n;
    }
    return Status::success();
}

Status File::writeAt(std::uint64_t offset, const void* data, std::size_t length) const {
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED where = at(offset + done);
        const DWORD want = static_cast<DWORD>(std::min(length - done, kMaxRequest));
        DWORD n = 0;
        if (!WriteFile(toHandle(handle_), in + done, want, &n, &where))
            return ioError("Cannot write", GetLastError());
        if (n == 0)
            return ioError("Cannot write", ERROR_DISK_FULL);
        done += n;
    }
    return Status::success();
}

Status File::sync() const {
    if (!FlushFileBuffers(toHandle(handle_)))
        return ioError("Cannot flush to disk", GetLastError());
    return Status::success();
}

Status File::truncate(std::uint64_t size) const {
    // Sets the end of file directly, without the file pointer that SetEndOfFile needs.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(toHandle(handle_), FileEndOfFileInfo, &end, sizeof end))
        return ioError("Cannot restore the length of", GetLastError());
    return Status::success();
}

} // namespace edt
