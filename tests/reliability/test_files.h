#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Helpers of the reliability tests: scratch folders, whole-file I/O, fingerprints
// that prove a file (or a whole folder) unchanged, edt-tool run in-process, and a
// child process for what only a child may change (its user, its mounts).
namespace edt::test {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);

// A 64-bit FNV-1a hash of a file's bytes and its length. Holes of sparse files are
// skipped by offset (SEEK_DATA), so even a file of many gigabytes hashes at once.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const Fingerprint& o) const { return size == o.size && hash == o.hash; }
    bool operator!=(const Fingerprint& o) const { return !(*this == o); }
};
Fingerprint fingerprintFile(const std::string& path);

// Every name below a folder with its type, and for regular files their fingerprint,
// inode and modification time, for links their target: equal before and after means
// nothing was written, created, removed or touched.
std::string describeTree(const std::string& dir);

// edt-tool run in this process; stdout and stderr are captured.
struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};
ToolRun runTool(const std::vector<std::string>& args);

// Runs `body` in a forked child and returns its result. A result starting with
// "SKIP: " means the child could not set up what the test needs.
std::string inChild(const std::function<std::string()>& body);

} // namespace edt::test
