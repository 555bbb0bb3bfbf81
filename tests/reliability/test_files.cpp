// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/reliability/test_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace edt::test {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

constexpr std::uint64_t kFnvOffset = 1469598103934665603ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;

void hashBytes(std::uint64_t& hash, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= kFnvPrime;
    }
}

} // namespace

Fingerprint fingerprintFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open " + path);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        fail("cannot examine " + path);
    }
    Fingerprint print;
    print.size = static_cast<std::uint64_t>(info.st_size);
    print.hash = kFnvOffset;
    std::vector<char> buffer(1 << 20);
    off_t pos = 0;
    while (pos < info.st_size) {
        // Jump over a hole; each run of data is hashed with where it starts.
        const off_t data = ::lseek(fd, pos, SEEK_DATA);
        if (data < 0)
            break; // only a hole is left
        off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole < 0)
            hole = info.st_size;
        hashBytes(print.hash, &data, sizeof data);
        for (off_t at = data; at < hole;) {
            const auto want = static_cast<std::size_t>(
                std::min<off_t>(hole - at, static_cast<off_t>(buffer.size())));
            const ssize_t n = ::pread(fd, buffer.data(), want, at);
            if (n <= 0) {
                ::close(fd);
                fail("cannot read " + path);
            }
            hashBytes(print.hash, buffer.data(), static_cast<std::size_t>(n));
            at += n;
        }
        pos = hole;
    }
    ::close(fd);
    return print;
}

std::string describeTree(const std::string& dir) {
    std::vector<std::string> lines;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(dir, error); !error && it != fs::end(it);
         it.increment(error)) {
        const std::string path = it->path().string();
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            lines.push_back(path + " (gone)");
            continue;
        }
        std::string line = path + " mode " + std::to_string(info.st_mode);
        if (S_ISREG(info.st_mode)) {
            const Fingerprint print = fingerprintFile(path);
            line += " inode " + std::to_string(info.st_ino) + " mtime " +
                    std::to_string(info.st_mtim.tv_sec) + "." +
                    std::to_string(info.st_mtim.tv_nsec) + " size " + std::to_string(print.size) +
                    " hash " + std::to_string(print.hash);
        } else if (S_ISLNK(info.st_mode)) {
            line += " -> " + fs::read_symlink(path, error).string();
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::string tree;
    for (const std::string& line : lines)
        tree += line + "\n";
    return tree;
}

std::string inChild(const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        fail("pipe");
    const pid_t pid = ::fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string result;
        try {
            result = body();
        } catch (const std::exception& e) {
            result = std::string("EXCEPTION: ") + e.what();
        }
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t n = ::write(pipeFds[1], result.data() + done, result.size() - done);
            if (n <= 0)
                ::_exit(3);
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string result;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "CHILD FAILED: status " + std::to_string(status) + " " + result;
    return result;
}

} // namespace edt::test
