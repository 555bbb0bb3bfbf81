// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"

#include <filesystem>

namespace edt::os {
namespace fs = std::filesystem;

// Paths are UTF-8 everywhere; u8path makes them so on Windows too.
Result makeFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(fs::u8path(path), error);
    return error ? Result::failure(Op::Create, error.message()) : Result::success();
}

Result listFolder(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(path), error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().u8string());
    return error ? Result::failure(Op::List, error.message()) : Result::success();
}

std::string resolvedPath(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::canonical(fs::u8path(path), error);
    return error ? fullPath(path) : full.u8string();
}

std::string inFolder(const std::string& folder, const std::string& name) {
    const auto separator = static_cast<char>(fs::path::preferred_separator);
    if (folder.empty() || folder.back() == '/' || folder.back() == separator)
        return folder + name;
    return folder + separator + name;
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::u8path(path), error);
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(fs::u8path(path), error));
}

std::string fullPath(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::absolute(fs::u8path(path), error);
    return error ? path : full.lexically_normal().u8string();
}

} // namespace edt::os
