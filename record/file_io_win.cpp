// The file layer on Windows. Same promises as the POSIX one in file_io.cpp: paths are
// UTF-8, files are opened by position without creating or truncating them, and errors
// carry the system's own words.
#include "record/file_io.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <climits>

namespace edt {
namespace {

// Largest single ReadFile/WriteFile request; the loops below go on from there.
constexpr std::size_t kMaxRequest = std::size_t{1} << 30;

// FILETIME counts 100 ns steps from 1601; identities use ns from 1970 like POSIX.
constexpr std::int64_t kFileTimeToUnixEpoch = 116444736000000000;

HANDLE toHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

std::string utf8FromWide(const wchar_t* text, int length) {
    if (length <= 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The system's message for a GetLastError() code, without its closing full stop
// and line break (callers end the sentence themselves).
std::string windowsReason(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string reason;
    if (length > 0 && buffer)
        reason = utf8FromWide(buffer, static_cast<int>(length));
    if (buffer)
        LocalFree(buffer);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    if (reason.empty())
        reason = "system error " + std::to_string(code);
    return reason;
}

// UTF-8 path -> the UTF-16 path the wide API takes. A path too long for the classic
// limit gets the \\?\ prefix, which takes only full paths with backslashes.
bool widePath(const std::string& path, std::wstring& out) {
    out.clear();
    if (path.empty())
        return true;
    if (path.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                         static_cast<int>(path.size()), nullptr, 0);
    if (size <= 0)
        return false;
    out.resize(static_cast<std::size_t>(size));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                        out.data(), size);
    if (out.find(L'\0') != std::wstring::npos)
        return false;
    if (out.size() < MAX_PATH - 12 || out.rfind(L"\\\\?\\", 0) == 0)
        return true;
    const DWORD fullSize = GetFullPathNameW(out.c_str(), 0, nullptr, nullptr);
    if (fullSize == 0)
        return true; // let CreateFileW report the problem
    std::wstring full(fullSize, L'\0');
    const DWORD written = GetFullPathNameW(out.c_str(), fullSize, full.data(), nullptr);
    if (written == 0 || written >= fullSize)
        return true;
    full.resize(written);
    if (full.rfind(L"\\\\", 0) == 0)
        out = L"\\\\?\\UNC\\" + full.substr(2);
    else
        out = L"\\\\?\\" + full;
    return true;
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
                                                  "\": " + windowsReason(systemError) + ".");
}

Status File::open(const std::string& path, Mode mode) {
    close();
    path_ = path;
    std::wstring wide;
    if (!widePath(path, wide))
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

} // namespace edt
