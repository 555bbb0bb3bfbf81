// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/file.h"
#include "platform/folders.h"

namespace edt::os {

std::string stateFolder() {
    // A relative $XDG_STATE_HOME is to be ignored.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return state;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const struct passwd* account = ::getpwuid(::getuid());
        home = account ? account->pw_dir : nullptr;
    }
    return home && *home == '/' ? std::string(home) + "/.local/state" : std::string();
}

namespace {

Result refused(const std::string& folder, const char* why) {
    return Result::failure(Op::Create, "\"" + folder + "\" " + why);
}

// The folder at `path` as the last of the program's own (`own`) or above them.
Result trusted(const std::string& path, bool own) {
    struct stat info {};
    if ((own ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info)) != 0)
        return errnoFailure(Op::Create, errno);
    if (S_ISLNK(info.st_mode))
        return refused(path, "is a link, not a folder of this program's");
    if (!S_ISDIR(info.st_mode))
        return refused(path, "is not a folder");
    const uid_t me = ::geteuid();
    if (info.st_uid != me && (own || info.st_uid != 0))
        return refused(path, "belongs to another user");
    if (own && (info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return errnoFailure(Op::Create, errno);
    if (!own && (info.st_mode & 022) != 0 && (info.st_mode & S_ISVTX) == 0)
        return refused(path, "may be written into by other users");
    return Result::success();
}

} // namespace

Result makePrivateFolders(const std::string& path, int own) {
    if (path.empty() || path[0] != '/')
        return refused(path, "is not a full path");
    std::vector<std::size_t> ends; // of each folder's name in `path`
    for (std::size_t at = 1; at <= path.size(); ++at)
        if ((at == path.size() || path[at] == '/') && path[at - 1] != '/')
            ends.push_back(at);
    const std::size_t firstOwn =
        ends.size() > static_cast<std::size_t>(own) ? ends.size() - own : 0;
    Result result = trusted("/", false);
    for (std::size_t i = 0; i < ends.size() && result.ok(); ++i) {
        const std::string folder = path.substr(0, ends[i]);
        if (::mkdir(folder.c_str(), 0700) == 0)
            result = syncFolder(i == 0 ? "/" : path.substr(0, ends[i - 1]));
        else if (errno != EEXIST)
            result = errnoFailure(Op::Create, errno);
        if (result.ok())
            result = trusted(folder, i >= firstOwn);
    }
    return result;
}

bool isOwnPlainFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           info.st_uid == ::geteuid() && info.st_nlink == 1 && (info.st_mode & 022) == 0;
}

} // namespace edt::os
