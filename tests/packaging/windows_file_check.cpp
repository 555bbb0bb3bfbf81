// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of the Windows file layer (platform/file_win.cpp) that edt-tool cannot show
// from outside: file identity and positioned I/O beyond 4 GiB. Cross-compiled and run
// under Wine by windows_tool_test.sh, which prepares the files:
//   windows_file_check DIR UNIX_MTIME
// DIR holds a.bin (4096 bytes), b.bin (a copy of it), link.bin (a hard link to a.bin) and
// big.bin (sparse, 5 GiB); UNIX_MTIME is a.bin's modification time in seconds.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/file.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok)
        ++failures;
}

edt::os::FileIdentity identityOf(const std::string& path) {
    edt::os::File file;
    edt::os::FileIdentity id;
    const edt::os::Result opened = file.open(path, edt::os::File::Mode::Read);
    check(opened.ok(), "open " + path + " " + opened.reason);
    if (opened.ok())
        check(file.identity(id).ok(), "identity of " + path);
    return id;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: windows_file_check DIR UNIX_MTIME\n");
        return 2;
    }
    const std::string dir = argv[1];
    const long long unixMtime = std::atoll(argv[2]);

    const edt::os::FileIdentity a = identityOf(dir + "/a.bin");
    check(a.size == 4096, "size of a.bin is " + std::to_string(a.size));
    // FILETIME counts from 1601; a wrong epoch shift is off by centuries.
    const long long seconds = a.modifiedNs / 1000000000;
    check(seconds >= unixMtime - 2 && seconds <= unixMtime + 2,
          "modification time " + std::to_string(seconds) + " s, POSIX says " +
              std::to_string(unixMtime));
    check(identityOf(dir + "/a.bin") == a, "the same file twice has one identity");
    check(identityOf(dir + "/link.bin") == a, "a hard link has the file's identity");
    const edt::os::FileIdentity b = identityOf(dir + "/b.bin");
    check(b.inode != a.inode && b.device == a.device, "a copy is another file on the same volume");

    {
        edt::os::File file;
        check(file.open(dir + "/a.bin", edt::os::File::Mode::Update).ok(), "open a.bin for update");
        check(file.writeAt(100, "xyz", 3).ok() && file.sync().ok(), "write and flush at 100");
        char back[3] = {};
        std::size_t got = 0;
        check(file.readAt(100, back, 3, got).ok() && got == 3 && std::memcmp(back, "xyz", 3) == 0,
              "read back at 100");
        char tail[16] = {};
        bool ok = file.readAt(4090, tail, sizeof tail, got).ok();
        check(ok && got == 6, "a read across the end is short: " + std::to_string(got));
        ok = file.readAt(5000, tail, sizeof tail, got).ok();
        check(ok && got == 0, "a read past the end gets nothing: " + std::to_string(got));
    }
    const edt::os::FileIdentity changed = identityOf(dir + "/a.bin");
    check(changed.inode == a.inode && changed.modifiedNs != a.modifiedNs,
          "a write changes the modification time, not the file");

    {
        edt::os::File file;
        check(file.open(dir + "/b.bin", edt::os::File::Mode::Update).ok(), "open b.bin for update");
        check(file.truncate(1000).ok(), "cut b.bin to 1000 bytes");
    }
    const edt::os::FileIdentity cut = identityOf(dir + "/b.bin");
    check(cut.size == 1000 && cut.inode == b.inode,
          "b.bin is the same file, 1000 bytes long: " + std::to_string(cut.size));

    // Offsets above 4 GiB go into OVERLAPPED.OffsetHigh.
    const std::uint64_t far = (std::uint64_t{1} << 32) + 12345;
    {
        edt::os::File file;
        check(file.open(dir + "/big.bin", edt::os::File::Mode::Update).ok(), "open big.bin");
        edt::os::FileIdentity big;
        const bool ok = file.identity(big).ok();
        check(ok && big.size == (std::uint64_t{5} << 30),
              "size of big.bin is 5 GiB: " + std::to_string(big.size));
        check(file.writeAt(far, "FAR", 3).ok(), "write beyond 4 GiB");
        char back[3] = {};
        std::size_t got = 0;
        check(file.readAt(far, back, 3, got).ok() && got == 3 && std::memcmp(back, "FAR", 3) == 0,
              "read back beyond 4 GiB");
    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
