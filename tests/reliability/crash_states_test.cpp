// SPDX-License-Identifier: GPL-3.0-or-later
// What a power cut may leave of a write, and what the next opening makes of it. The
// file operations of a write are recorded through the wrapped calls; from them every
// state the disk may hold after a cut is built as POSIX promises it: all that was
// flushed, and of the rest any subset of the data written since, each write whole,
// lost or torn at a 512-byte sector, and a name made or removed only once its folder
// was flushed. Recovery runs on each state; the file must be exactly as it was or
// exactly as written.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"
#include "record/journal.h"
#include "record/message.h"
#include "record/open_file.h"
#include "record/text_codec.h"
#include "tests/support/test_support.h"
#include "tests/support/wrapped_calls.h"
#include "tools/sample_files.h"

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_unlink(const char* path);
int __real_mkdir(const char* path, mode_t mode);
}

namespace {

// One file operation of the write: data (write, truncate) or a flush of a file, or a
// name made or removed, or a flush of a folder.
struct Op {
    enum Kind { Write, Truncate, Flush, Create, Remove, FlushFolder } kind;
    std::string path;
    std::uint64_t offset = 0; // of a write; the length of a truncate
    std::string bytes;
};

bool recording = false;
std::vector<Op> ops;

void record(Op::Kind kind, std::string path, std::uint64_t offset = 0, std::string bytes = {}) {
    if (recording)
        ops.push_back({kind, std::move(path), offset, std::move(bytes)});
}

std::string pathOf(int fd) {
    char link[64], target[PATH_MAX] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

extern "C" {
ssize_t __wrap_pwrite(int fd, const void* data, size_t length, off_t offset) {
    record(Op::Write, pathOf(fd), static_cast<std::uint64_t>(offset),
           std::string(static_cast<const char*>(data), length));
    return __real_pwrite(fd, data, length, offset);
}
int __wrap_fsync(int fd) {
    if (recording) {
        struct stat info {};
        ::fstat(fd, &info);
        record(S_ISDIR(info.st_mode) ? Op::FlushFolder : Op::Flush, pathOf(fd));
    }
    return __real_fsync(fd);
}
int __wrap_ftruncate(int fd, off_t length) {
    record(Op::Truncate, pathOf(fd), static_cast<std::uint64_t>(length));
    return __real_ftruncate(fd, length);
}
int __wrap_open(const char* path, int flags, ...) {
    va_list list;
    va_start(list, flags);
    const int mode = (flags & O_CREAT) ? va_arg(list, int) : 0;
    va_end(list);
    const int fd = __real_open(path, flags, mode);
    if (fd >= 0 && (flags & O_CREAT))
        record(Op::Create, pathOf(fd));
    return fd;
}
// A folder's name: its path and a slash.
int __wrap_mkdir(const char* path, mode_t mode) {
    const int made = __real_mkdir(path, mode);
    if (made == 0)
        record(Op::Create, edt::os::fullPath(path) + "/");
    return made;
}
int __wrap_unlink(const char* path) {
    record(Op::Remove, edt::os::fullPath(path));
    return __real_unlink(path);
}
}

namespace edt {
namespace {

std::string folderOf(std::string path) {
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path.substr(0, path.rfind('/'));
}

// The files a state holds: path -> content; a path missing is no file.
using Disk = std::map<std::string, std::string>;

// Applies `op`; a write only up to `keep` bytes, the rest of it lost but, with
// `grown`, the length it gave the file kept (zeros where its bytes did not arrive).
void replay(const Op& op, Disk& disk, std::size_t keep = std::string::npos, bool grown = false) {
    if (op.kind == Op::Create)
        disk.emplace(op.path, std::string());
    else if (op.kind == Op::Remove)
        disk.erase(op.path);
    const auto file = disk.find(op.path);
    if (file == disk.end())
        return;
    std::string& bytes = file->second;
    if (op.kind == Op::Truncate) {
        bytes.resize(op.offset, '\0');
    } else if (op.kind == Op::Write) {
        const std::string part = op.bytes.substr(0, keep);
        const std::size_t end = op.offset + (grown ? op.bytes.size() : part.size());
        if (bytes.size() < end)
            bytes.resize(end, '\0');
        bytes.replace(op.offset, part.size(), part);
    }
}

// The states a cut after `count` operations may leave, at most `most` of them:
// everything flushed by then applied, and of what was not each operation lost, done,
// or (a write) torn at a sector.
std::vector<Disk> statesAfter(const Disk& start, std::size_t count, std::size_t most,
                              std::mt19937& random) {
    // An operation is durable when a later one flushed its file (data) or its folder
    // (names).
    std::vector<bool> durable(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const bool names = ops[i].kind == Op::Create || ops[i].kind == Op::Remove;
        for (std::size_t k = i + 1; k < count && !durable[i]; ++k)
            durable[i] =
                names ? ops[k].kind == Op::FlushFolder && ops[k].path == folderOf(ops[i].path)
                      : ops[k].kind == Op::Flush && ops[k].path == ops[i].path;
    }
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < count; ++i)
        if (!durable[i] && ops[i].kind != Op::Flush && ops[i].kind != Op::FlushFolder)
            open.push_back(i);
    // Choices per open operation: 0 lost, 1 done, 2 torn, 3 torn with its length.
    std::size_t combinations = 1;
    for (std::size_t i = 0; i < open.size() && combinations <= most; ++i)
        combinations *= 4;
    const bool every = combinations <= most;
    std::vector<Disk> states;
    // Every combination, again while the torn ones may tear elsewhere; or a sample.
    const std::size_t rounds = every ? std::min<std::size_t>(most / combinations, 8) : 1;
    for (std::size_t t = 0; t < (every ? combinations * rounds : most); ++t) {
        Disk disk = start;
        std::size_t code = t % combinations;
        for (std::size_t i = 0; i < count; ++i) {
            if (std::find(open.begin(), open.end(), i) == open.end()) {
                replay(ops[i], disk);
                continue;
            }
            const std::size_t choice = every ? code % 4 : random() % 4;
            code /= 4;
            const std::size_t sectors = ops[i].bytes.size() / 512;
            if (choice == 1 || (choice > 1 && ops[i].kind != Op::Write))
                replay(ops[i], disk);
            else if (choice > 1)
                replay(ops[i], disk, sectors ? (random() % sectors) * 512 : 0, choice == 3);
        }
        states.push_back(std::move(disk));
    }
    return states;
}

struct Counts {
    std::size_t states = 0, original = 0, result = 0, between = 0;
};

class CrashStates : public testing::Test {
protected:
    // The files of a write, each as it was before it.
    struct Target {
        std::string path;
        FileKind kind;
        std::string original;
        struct timespec mtime {};
    };

    // Records `write` into the first `count` targets, then builds the states a cut may
    // leave and recovers each by opening every file.
    template <typename Write> Counts run(std::size_t count, Write write) {
        std::vector<Target> targets(targets_.begin(), targets_.begin() + count);
        std::vector<OpenFile> files(count);
        Disk start;
        ::rmdir(journals_.c_str()); // each as the first write ever
        for (std::size_t i = 0; i < count; ++i) {
            test::writeBytes(targets[i].path, targets[i].original);
            struct stat info {};
            ::stat(targets[i].path.c_str(), &info);
            targets[i].mtime = info.st_mtim;
            start[targets[i].path] = targets[i].original;
            EXPECT_TRUE(files[i].open(targets[i].path, targets[i].kind, &state_).ok());
        }
        ops.clear();
        recording = true;
        const Status done = write(files);
        recording = false;
        files.clear();
        EXPECT_TRUE(done.ok()) << describe(done);
        std::vector<std::string> results;
        for (const Target& target : targets)
            results.push_back(test::readBytes(target.path));

        std::mt19937 random(7);
        Counts counts;
        for (std::size_t cut = 0; cut <= ops.size(); ++cut) {
            for (const Disk& disk : statesAfter(start, cut, 128, random)) {
                // The files in place (their identity kept); the journals and their
                // folder as the state has them.
                std::vector<std::string> names;
                os::listFolder(journals_, names);
                for (const std::string& name : names)
                    ::unlink((journals_ + "/" + name).c_str());
                ::rmdir(journals_.c_str());
                if (disk.count(journals_ + "/"))
                    ::mkdir(journals_.c_str(), 0700);
                for (const auto& [name, bytes] : disk)
                    if (name.back() != '/' && (start.count(name) || disk.count(journals_ + "/")))
                        test::writeBytes(name, bytes);
                std::size_t original = 0, result = 0;
                for (std::size_t i = 0; i < count; ++i) {
                    if (disk.at(targets[i].path) == targets[i].original) { // as it was, when
                        const struct timespec times[2] = {targets[i].mtime, targets[i].mtime};
                        ::utimensat(AT_FDCWD, targets[i].path.c_str(), times, 0);
                    }
                }
                for (std::size_t i = 0; i < count; ++i) {
                    OpenFile recovering;
                    recovering.open(targets[i].path, targets[i].kind, &state_);
                    const std::string now = test::readBytes(targets[i].path);
                    original += now == targets[i].original;
                    result += now == results[i];
                }
                ++counts.states;
                counts.original += original == count;
                counts.result += result == count;
                counts.between += original != count && result != count;
            }
        }
        std::printf("%zu states: %zu original, %zu result, %zu between\n", counts.states,
                    counts.original, counts.result, counts.between);
        return counts;
    }

    void TearDown() override { recording = false; }

    test::TempDir dir_;
    const std::string folder_ = os::resolvedPath(dir_.path());
    const std::string journals_ = folder_ + "/journals";
    StateFolder state_{Backups(""), journals_};
    std::vector<Target> targets_ = [this] {
        std::vector<Target> targets;
        for (const char* name : {"email.edt", "strings.edt", "quests.edt"}) {
            const FileKind kind = kindForFileName(name);
            targets.push_back({folder_ + "/" + name, kind,
                               samples::makeImage(kind, samples::sampleTexts(kind, 30), 'q')});
        }
        return targets;
    }();
};

// Each command, the restores that make the file longer or shorter, and an import of a
// folder's three files at once.
TEST_F(CrashStates, EveryStateAPowerCutLeavesRecoversToTheOriginalOrTheResult) {
    const auto check = [&](const char* what, std::size_t count, auto write) {
        const Counts counts = run(count, write);
        EXPECT_EQ(counts.between, 0u) << what;
        EXPECT_GT(counts.original, 0u) << what;
        EXPECT_GT(counts.result, 0u) << what;
    };
    const auto imported = [](const OpenFile& file) {
        std::vector<EntryWrite> writes;
        const auto step = static_cast<RecordKey>(file.kind().recordLength) * 3;
        for (RecordKey key = 1; key < file.identity().size; key += step)
            writes.push_back({key, std::string(20 + key % 50, 'x')});
        return writes;
    };
    check("import", 1, [&](std::vector<OpenFile>& files) {
        return files[0].write(imported(files[0]), test::codePage()).status;
    });
    check("write", 1, [&](std::vector<OpenFile>& files) {
        return files[0].writeRecord(1281, "a new text", test::codePage()).status;
    });
    const std::size_t size = targets_[0].original.size();
    for (const std::size_t copy : {size + 4000, size / 2}) {
        test::writeBytes(dir_.file("copy"), std::string(copy, 'c'));
        check(copy > size ? "restore, longer" : "restore, shorter", 1,
              [&](std::vector<OpenFile>& files) {
                  return files[0].restore({"copy", dir_.file("copy"), copy}).status;
              });
    }
    check("import of three files", 3, [&](std::vector<OpenFile>& files) {
        std::vector<OpenFile::FileWrites> set;
        for (OpenFile& file : files)
            set.push_back({&file, imported(file), &test::codePage()});
        return OpenFile::writeTogether(set).status;
    });
}

} // namespace
} // namespace edt
