// SPDX-License-Identifier: GPL-3.0-or-later
// The file layer on Windows. Same promises as file_posix.cpp: paths are UTF-8, files
// are opened by position without creating or truncating them, and errors carry the
// system's own words.
#include "platform/file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>

#include "platform/wide_text.h"

namespace edt::os {
using win::failure;

namespace {

// Largest single ReadFile/WriteFile request; the loops below go on from there.
constexpr std::size_t kMaxRequest = std::size_t{1} << 30;

// FILETIME counts 100 ns steps from 1601; identities use ns from 1970 like POSIX.
constexpr std::int64_t kFileTimeToUnixEpoch = 116444736000000000;

HANDLE toHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity id;
    id.device = info.dwVolumeSerialNumber;
    id.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    id.modifiedNs = (ticks - kFileTimeToUnixEpoch) * 100;
    return id;
}

} // namespace

std::string reasonOf(int errorNumber) {
    char buffer[256] = {};
    if (strerror_s(buffer, sizeof buffer, errorNumber) != 0)
        return "error " + std::to_string(errorNumber);
    return buffer;
}

Result errnoFailure(Op op, int errorNumber) {
    return Result::failure(op, reasonOf(errorNumber));
}

Result File::open(const std::string& path, Mode mode) {
    close();
    std::wstring wide;
    if (!win::toWidePath(path, wide))
        return failure(Op::Open, ERROR_INVALID_NAME);
    // CreateFileW cannot open a folder without backup semantics and would only say
    // "access denied"; name the real reason instead.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Result::notAFile(NotFile::Folder);
    // Never create or truncate; let other programs go on reading, writing and
    // renaming the file, as they can on POSIX systems.
    const DWORD access = mode == Mode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE handle = CreateFileW(
        wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        mode == Mode::Create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failure(Op::Open, GetLastError());
    // Pipes, consoles and devices (NUL, COM1 ...) are not disk files.
    const DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return Result::notAFile(type == FILE_TYPE_PIPE   ? NotFile::Pipe
                                : type == FILE_TYPE_CHAR ? NotFile::Device
                                                         : NotFile::Other);
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    return Result::success();
}

void File::close() {
    if (handle_ != kClosed) {
        CloseHandle(toHandle(handle_));
        handle_ = kClosed;
    }
}

int File::permissions() const {
    return 0600;
}

Result File::identity(FileIdentity& out) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(toHandle(handle_), &info))
        return failure(Op::Examine, GetLastError());
    out = identityOf(info);
    return Result::success();
}

Result File::readAt(std::uint64_t offset, void* buffer, std::size_t length,
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
            return failure(Op::Read, error);
        }
        if (n == 0)
            break; // end of file
        got += n;
    }
    return Result::success();
}

Result File::writeAt(std::uint64_t offset, const void* data, std::size_t length) const {
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED where = at(offset + done);
        const DWORD want = static_cast<DWORD>(std::min(length - done, kMaxRequest));
        DWORD n = 0;
        if (!WriteFile(toHandle(handle_), in + done, want, &n, &where))
            return failure(Op::Write, GetLastError());
        if (n == 0)
            return failure(Op::Write, ERROR_DISK_FULL);
        done += n;
    }
    return Result::success();
}

Result File::sync() const {
    if (!FlushFileBuffers(toHandle(handle_)))
        return failure(Op::Flush, GetLastError());
    return Result::success();
}

Result File::truncate(std::uint64_t size) const {
    // Sets the end of file directly, without the file pointer that SetEndOfFile needs.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(toHandle(handle_), FileEndOfFileInfo, &end, sizeof end))
        return failure(Op::Shorten, GetLastError());
    return Result::success();
}

namespace {

// Windows locks are mandatory for the range they cover: the lock lies on one byte far
// past the end of any EDT file, so that other programs go on reading and writing.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

} // namespace

bool File::lock(int waitMs) const {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
    while (true) {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(toHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                       0, &where))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING)
            return true; // no locks on this file system
        if (GetTickCount64() >= until)
            return false;
        Sleep(20);
    }
}

void File::unlock() const {
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(toHandle(handle_), 0, 1, 0, &where);
}

// NTFS journals its folders' names itself; a folder cannot be flushed like a file.
Result syncFolder(const std::string&) {
    return Result::success();
}

bool identityAt(const std::string& path, FileIdentity& out) {
    File file;
    return file.open(path, File::Mode::Read).ok() && file.identity(out).ok();
}

Result readStandardInput(std::string& content, std::size_t limit) {
    content.clear();
    _setmode(_fileno(stdin), _O_BINARY); // a CSV's CR LF stays as it is
    char buffer[1 << 16];
    std::size_t n = 0;
    while (content.size() <= limit && (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        content.append(buffer, n);
    return std::ferror(stdin) ? errnoFailure(Op::Read, errno) : Result::success();
}

} // namespace edt::os
