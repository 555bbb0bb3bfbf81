// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file.h"

namespace edt::os {

File::~File() {
    close();
}

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = kClosed;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = kClosed;
    }
    return *this;
}

Result readRange(const File& file, std::uint64_t offset, std::size_t length, std::string& out) {
    out.assign(length, '\0');
    std::size_t got = 0;
    Result result = file.readAt(offset, out.data(), out.size(), got);
    out.resize(got);
    return result;
}

Result readWholeFile(const std::string& path, std::string& content) {
    content.clear();
    File file;
    Result result = file.open(path, File::Mode::Read);
    FileIdentity id;
    if (result.ok())
        result = file.identity(id);
    if (!result.ok())
        return result;
    content.resize(static_cast<std::size_t>(id.size));
    std::size_t got = 0;
    result = file.readAt(0, content.data(), content.size(), got);
    content.resize(got);
    return result;
}

} // namespace edt::os
