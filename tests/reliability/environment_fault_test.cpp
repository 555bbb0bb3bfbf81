// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of the surroundings rather than the input: a file the user may not read or
// write, a read-only medium, an immutable file, a full disk. Tests run as root in CI,
// where permissions do not stop anyone, so the cases that need a plain user or a
// mount of their own run in a child process that becomes one or makes one.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "record/escaped_text.h"
#include "record/message.h"
#include "record/reader.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/reliability/test_files.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::TempDir;

// What the user sees from each way in, and whether the file stayed as it was.
struct Attempt {
    StatusCode listCode{};
    std::string listSays;
    StatusCode writeCode{};
    std::string writeSays;
    int toolListExit = -1;
    std::string toolListSays;
    int toolWriteExit = -1;
    std::string toolWriteSays;
    bool unchanged = false;

    std::string serialize() const {
        const char sep = '\x1e';
        return std::to_string(static_cast<int>(listCode)) + sep + listSays + sep +
               std::to_string(static_cast<int>(writeCode)) + sep + writeSays + sep +
               std::to_string(toolListExit) + sep + toolListSays + sep +
               std::to_string(toolWriteExit) + sep + toolWriteSays + sep + (unchanged ? "1" : "0");
    }
    static Attempt parse(const std::string& text) {
        std::vector<std::string> parts(1);
        for (const char c : text) {
            if (c == '\x1e')
                parts.emplace_back();
            else
                parts.back() += c;
        }
        Attempt a;
        if (parts.size() != 9) {
            ADD_FAILURE() << "child said: " << text;
            return a;
        }
        a.listCode = static_cast<StatusCode>(std::stoi(parts[0]));
        a.listSays = parts[1];
        a.writeCode = static_cast<StatusCode>(std::stoi(parts[2]));
        a.writeSays = parts[3];
        a.toolListExit = std::stoi(parts[4]);
        a.toolListSays = parts[5];
        a.toolWriteExit = std::stoi(parts[6]);
        a.toolWriteSays = parts[7];
        a.unchanged = parts[8] == "1";
        return a;
    }
};

// Lists the file and writes `text` at `key`, through the core and through edt-tool.
// `unchanged` is only found here when this process may read the file.
Attempt attempt(const std::string& path, RecordKey key, const std::string& text = "Hi") {
    const bool readable = ::access(path.c_str(), R_OK) == 0;
    const test::Fingerprint before = readable ? test::fingerprintFile(path) : test::Fingerprint{};
    Attempt a;
    const FileKind kind = kindForPath(path);
    const ReadResult read = readFile(path, kind);
    a.listCode = read.status.code;
    a.listSays = describe(read.status);
    // As the window does: the identity of the listing, when there was one.
    const WriteResult written = writeRecord(path, kind, key, text, test::codePage(),
                                            read.status.ok() ? &read.identity : nullptr);
    a.writeCode = written.status.code;
    a.writeSays = describe(written.status);
    const test::ToolRun list = test::runTool({"list", path});
    a.toolListExit = list.code;
    a.toolListSays = list.err;
    const test::ToolRun write =
        test::runTool({"write", path, std::to_string(key), test::escaper().escape(text)});
    a.toolWriteExit = write.code;
    a.toolWriteSays = write.err;
    a.unchanged = readable && test::fingerprintFile(path) == before;
    return a;
}

std::string sample(const TempDir& dir, const std::string& name) {
    const FileKind kind = kindForFileName(name);
    const std::string path = dir.file(name);
    test::writeBytes(path, samples::makeImage(kind, samples::sampleTexts(kind, 6)));
    return path;
}

// Runs `body` as the unprivileged user "nobody" when the tests run as root.
std::string asPlainUser(const TempDir& dir, const std::function<std::string()>& body) {
    if (::geteuid() != 0)
        return body();
    ::chmod(dir.path().c_str(), 0755); // nobody must reach the file to be refused by it
    return test::inChild([&]() -> std::string {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return "SKIP: cannot become the user nobody";
        return body();
    });
}

// Runs `body` in a child with a mount namespace of its own, after `mount` made the
// mounts it needs there (they vanish with the child).
std::string withOwnMounts(const std::function<std::string()>& mount,
                          const std::function<std::string()>& body) {
    return test::inChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("SKIP: no mount namespace of our own: ") + std::strerror(errno);
        const std::string failed = mount();
        return failed.empty() ? body() : failed;
    });
}

#define SKIP_IF_CHILD_SKIPPED(result)                                                              \
    if ((result).rfind("SKIP: ", 0) == 0)                                                          \
    GTEST_SKIP() << (result).substr(6)

TEST(EnvironmentFault, UnreadableFile) {
    TempDir dir;
    const std::string path = sample(dir, "email.edt");
    ::chmod(path.c_str(), 0);
    const std::string tree = test::describeTree(dir.path());
    const std::string result = asPlainUser(dir, [&] { return attempt(path, 641).serialize(); });
    SKIP_IF_CHILD_SKIPPED(result);
    EXPECT_EQ(test::describeTree(dir.path()), tree);
    const Attempt a = Attempt::parse(result);
    EXPECT_EQ(a.listCode, StatusCode::SystemError);
    EXPECT_TRUE(test::says(a.listSays, "Cannot open \"" + path + "\": Permission denied."));
    EXPECT_EQ(a.writeCode, StatusCode::SystemError) << a.writeSays;
    EXPECT_TRUE(test::says(a.writeSays, "Permission denied"));
    EXPECT_EQ(a.toolListExit, 1);
    EXPECT_TRUE(test::says(a.toolListSays, "Permission denied"));
    EXPECT_EQ(a.toolWriteExit, 1);
    EXPECT_TRUE(test::says(a.toolWriteSays, "Permission denied"));
}

TEST(EnvironmentFault, WriteProtectedFile) {
    TempDir dir;
    const std::string path = sample(dir, "email.edt");
    ::chmod(path.c_str(), 0444);
    const std::string tree = test::describeTree(dir.path());
    const std::string result = asPlainUser(dir, [&] { return attempt(path, 641).serialize(); });
    SKIP_IF_CHILD_SKIPPED(result);
    EXPECT_EQ(test::describeTree(dir.path()), tree);
    const Attempt a = Attempt::parse(result);
    EXPECT_EQ(a.listCode, StatusCode::Ok) << a.listSays;
    EXPECT_EQ(a.writeCode, StatusCode::SystemError) << a.writeSays;
    EXPECT_TRUE(
        test::says(a.toolWriteSays, "Permission denied. Nothing was written to entry 0000641"));
    EXPECT_EQ(a.toolListExit, 0);
    EXPECT_EQ(a.toolWriteExit, 1);
    EXPECT_TRUE(test::says(a.toolWriteSays, "Permission denied"));
    EXPECT_TRUE(a.unchanged);
}

TEST(EnvironmentFault, ReadOnlyMedium) {
    TempDir dir;
    sample(dir, "email.edt");
    const std::string view = dir.file("read-only");
    ::mkdir(view.c_str(), 0755);
    const std::string path = view + "/email.edt";
    const std::string result = withOwnMounts(
        [&]() -> std::string {
            if (::mount(dir.path().c_str(), view.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                ::mount(nullptr, view.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                        nullptr) != 0)
                return std::string("SKIP: cannot mount read-only: ") + std::strerror(errno);
            return "";
        },
        [&] { return attempt(path, 641).serialize(); });
    SKIP_IF_CHILD_SKIPPED(result);
    const Attempt a = Attempt::parse(result);
    EXPECT_EQ(a.listCode, StatusCode::Ok) << a.listSays;
    EXPECT_EQ(a.writeCode, StatusCode::SystemError);
    EXPECT_TRUE(test::says(a.writeSays, "Cannot open \"" + path + "\": Read-only file system."));
    EXPECT_EQ(a.toolListExit, 0);
    EXPECT_EQ(a.toolWriteExit, 1);
    EXPECT_TRUE(test::says(a.toolWriteSays, "Read-only file system"));
    EXPECT_TRUE(a.unchanged);
}

TEST(EnvironmentFault, ImmutableFile) {
    TempDir dir;
    const std::string path = sample(dir, "email.edt");
    const int fd = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        ::close(fd);
        GTEST_SKIP() << "this file system has no file flags";
    }
    flags |= FS_IMMUTABLE_FL;
    const bool immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    if (!immutable)
        GTEST_SKIP() << "cannot make a file immutable here (needs root and ext4 or alike)";

    const Attempt a = attempt(path, 641);

    const int again = ::open(path.c_str(), O_RDONLY);
    flags &= ~FS_IMMUTABLE_FL;
    ASSERT_EQ(::ioctl(again, FS_IOC_SETFLAGS, &flags), 0) << "left an immutable file behind";
    ::close(again);
    EXPECT_EQ(a.listCode, StatusCode::Ok);
    EXPECT_EQ(a.writeCode, StatusCode::SystemError);
    EXPECT_TRUE(test::says(a.writeSays, "Operation not permitted"));
    EXPECT_EQ(a.toolWriteExit, 1);
    EXPECT_TRUE(test::says(a.toolWriteSays, "Operation not permitted"));
    EXPECT_TRUE(a.unchanged);
}

// A full disk stops a write half way: an entry that starts in a written page of a
// sparse file and runs on into a hole needs a page the disk no longer has. The part
// already written is put back.
TEST(EnvironmentFault, DiskFullHalfWayThroughTheEntry) {
    TempDir dir;
    const std::string disk = dir.file("small-disk");
    ::mkdir(disk.c_str(), 0755);
    const std::string path = disk + "/email.edt";
    // Entry 7 of email.edt starts at offset 3840 and a text of 200 characters takes
    // 404 bytes, past the first page (4096 bytes) into the hole behind it.
    const RecordKey key = 3841;
    const std::string result = withOwnMounts(
        [&]() -> std::string {
            if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
                return std::string("SKIP: cannot mount a small disk: ") + std::strerror(errno);
            const FileKind kind = kindForFileName("email.edt");
            std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 7), 'x');
            image.resize(4096, 'x');
            test::writeBytes(path, image);
            if (::truncate(path.c_str(), 16384) != 0)
                return "SKIP: cannot make a sparse file";
            // Fill the disk.
            const int fd = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
            const std::string block(4096, 'f');
            while (::write(fd, block.data(), block.size()) > 0) {
            }
            ::close(fd);
            return "";
        },
        [&] { return attempt(path, key, std::string(200, 'w')).serialize(); });
    SKIP_IF_CHILD_SKIPPED(result);
    const Attempt a = Attempt::parse(result);
    EXPECT_EQ(a.listCode, StatusCode::Ok) << a.listSays;
    EXPECT_EQ(a.writeCode, StatusCode::SystemError);
    EXPECT_TRUE(test::says(a.writeSays,
                           "No space left on device. The entry's previous bytes were put "
                           "back: the file is as it was."));
    EXPECT_EQ(a.toolWriteExit, 1);
    EXPECT_TRUE(test::says(a.toolWriteSays, "No space left on device"));
    EXPECT_TRUE(a.unchanged);
}

// Writes whose last one would lengthen a file, where the process may not write beyond
// its end (RLIMIT_FSIZE): refused before any write, since a write never lengthens one.
TEST(EnvironmentFault, AFileThatMayNotGrowIsNeverGrown) {
    TempDir dir;
    const std::string path = dir.file("strings.edt");
    const std::string image(3 * 480 + 300, 'q');
    test::writeBytes(path, image);
    const std::string result = test::inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {image.size(), image.size()};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("SKIP: cannot limit the file size");
        const WriteResult written =
            writeEntries(path, kindForPath("strings.edt"),
                         {{1, "a"}, {481, "b"}, {1441, std::string(200, 'L')}}, test::codePage());
        return describe(written.status);
    });
    SKIP_IF_CHILD_SKIPPED(result);
    EXPECT_TRUE(test::says(result, "only 300 of the 480 bytes of entry 0001441"));
    EXPECT_EQ(test::readBytes(path), image);
}

} // namespace
} // namespace edt
