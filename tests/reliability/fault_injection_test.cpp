// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of the file layer injected under the core: this program is linked with
// --wrap for pread, pwrite, fsync and ftruncate, so every call the core makes goes
// through the hooks below while a test has a fault armed. A failed write must be
// undone (or, when even that fails, reported as possibly damaging the entry), and a
// mismatch on reading back must never pass for success.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "record/message.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/reliability/test_files.h"
#include "tests/support/entry_lines.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/support/wrapped_calls.h"
#include "tools/sample_files.h"

namespace {

// The armed faults; each hook gets the number of its call (from 0) since arming.
// An empty hook, or none armed, passes the call through.
struct Faults {
    bool armed = false;
    ino_t only = 0; // when set, calls on other files (journals ...) pass through
    int preads = 0, pwrites = 0, fsyncs = 0, ftruncates = 0;
    std::function<ssize_t(int call, int fd, void* buffer, size_t length, off_t offset)> pread;
    std::function<ssize_t(int call, int fd, const void* data, size_t length, off_t offset)> pwrite;
    std::function<int(int call, int fd)> fsync;
    std::function<int(int call, int fd, off_t length)> ftruncate;
};
Faults faults;

// Arms the faults set on it for its lifetime.
class Armed {
public:
    Armed() { faults = Faults{}; }
    ~Armed() { faults = Faults{}; }
    Faults& operator*() { return faults; }
    Faults* operator->() { return &faults; }
    void arm() { faults.armed = true; }
};

bool hooked(int fd) {
    struct stat info {};
    return faults.armed &&
           (faults.only == 0 || (::fstat(fd, &info) == 0 && info.st_ino == faults.only));
}

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

ssize_t failWith(int error) {
    errno = error;
    return -1;
}

} // namespace

extern "C" {
ssize_t __wrap_pread(int fd, void* buffer, size_t length, off_t offset) {
    if (faults.pread && hooked(fd))
        return faults.pread(faults.preads++, fd, buffer, length, offset);
    return __real_pread(fd, buffer, length, offset);
}
ssize_t __wrap_pwrite(int fd, const void* data, size_t length, off_t offset) {
    if (faults.pwrite && hooked(fd))
        return faults.pwrite(faults.pwrites++, fd, data, length, offset);
    return __real_pwrite(fd, data, length, offset);
}
int __wrap_fsync(int fd) {
    if (faults.fsync && hooked(fd))
        return faults.fsync(faults.fsyncs++, fd);
    return __real_fsync(fd);
}
int __wrap_ftruncate(int fd, off_t length) {
    if (faults.ftruncate && hooked(fd))
        return faults.ftruncate(faults.ftruncates++, fd, length);
    return __real_ftruncate(fd, length);
}
}

namespace edt {
namespace {

const FileKind kEmail = kindForFileName("email.edt");

using test::decodeEntries;
using test::TempDir;

constexpr RecordKey kKey = 641;
const std::string kText = "A new text for the second entry";

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        const FileKind kind = kindForFileName("email.edt");
        image_ = samples::makeImage(kind, samples::sampleTexts(kind, 4), 'q');
        path_ = dir_.file("email.edt");
        test::writeBytes(path_, image_);
    }

    // The file as a successful write of kText at kKey leaves it.
    std::string written() const {
        std::string bytes = image_;
        const std::string encoded = encodeText(kText);
        bytes.replace(kKey - 1, encoded.size(), encoded);
        return bytes;
    }

    WriteResult write() { return writeRecord(path_, kEmail, kKey, kText, test::codePage()); }

    TempDir dir_;
    std::string image_;
    std::string path_;
    Armed faults_;
};

// A write torn half way, a write that makes no progress, a flush that fails: each is
// undone, and says so.
TEST_F(FaultInjection, FailingWritesAndFlushesAreUndone) {
    struct Case {
        void (*arm)(Faults&);
        std::string says;
    };
    const Case cases[] = {
        {[](Faults& f) {
             f.pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
                 if (call == 1)
                     return failWith(EIO);
                 return __real_pwrite(fd, data, call == 0 ? length / 2 : length, offset);
             };
         },
         "Cannot write \"" + path_ + "\": Input/output error."},
        {[](Faults& f) {
             f.pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
                 return call == 0 ? ssize_t{0} : __real_pwrite(fd, data, length, offset);
             };
         },
         "Cannot write \"" + path_ + "\": No space left on device."},
        {[](Faults& f) {
             f.fsync = [](int call, int fd) {
                 return call == 0 ? static_cast<int>(failWith(EIO)) : __real_fsync(fd);
             };
         },
         "Cannot flush to disk \"" + path_ + "\": Input/output error."},
    };
    for (const Case& c : cases) {
        *faults_ = Faults{};
        c.arm(*faults_);
        faults_.arm();
        const WriteResult result = write();
        faults_->armed = false;
        EXPECT_EQ(result.status.code, StatusCode::SystemError);
        EXPECT_EQ(describe(result.status),
                  c.says + " The entry's previous bytes were put back: the file is as it was.");
        EXPECT_EQ(test::readBytes(path_), image_);
    }
}

TEST_F(FaultInjection, ReadBackMismatchIsAFailureAndIsUndone) {
    // Reads of a write: the entry's old bytes (0), the bytes written (1), then the undo.
    faults_->pread = [](int call, int fd, void* buffer, size_t length, off_t offset) {
        const ssize_t n = __real_pread(fd, buffer, length, offset);
        if (call == 1 && n > 0)
            static_cast<unsigned char*>(buffer)[n / 2] ^= 0x20;
        return n;
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::VerifyFailed);
    EXPECT_TRUE(test::says(result.status, "The bytes read back from entry 0000641 of \"" + path_ +
                                              "\" differ from those written."));
    EXPECT_TRUE(test::says(result.status, "put back: the file is as it was"));
    EXPECT_EQ(test::readBytes(path_), image_);
}

TEST_F(FaultInjection, UndoFailingTooSaysTheEntryMayBeDamaged) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        return call == 0 ? __real_pwrite(fd, data, length / 2, offset) : failWith(EIO);
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::SystemError);
    EXPECT_TRUE(test::says(result.status, "Putting the previous bytes back failed as well"));
    EXPECT_TRUE(test::says(result.status, "entry 0000641 of \"" + path_ + "\" may be damaged."));
    // The half write stays, but it is reported, and only the entry was touched.
    const std::string after = test::readBytes(path_);
    EXPECT_NE(after, image_);
    EXPECT_EQ(after.substr(0, kKey - 1), image_.substr(0, kKey - 1));
    const std::size_t end = kKey - 1 + encodeText(kText).size();
    EXPECT_EQ(after.substr(end), image_.substr(end));
}

TEST_F(FaultInjection, FailedWritesAtTheEndOfACutOffFileArePutBackAndSaySo) {
    // Two entries of 480 bytes and 300 of a third: its text fills those 300 exactly.
    const std::string short_ = dir_.file("strings.edt");
    const std::string image(2 * 480 + 300, 'q');
    test::writeBytes(short_, image);
    faults_->fsync = [](int call, int fd) {
        return call == 0 ? static_cast<int>(failWith(EIO)) : __real_fsync(fd);
    };
    faults_->ftruncate = [](int, int fd, off_t length) { return __real_ftruncate(fd, length); };
    faults_.arm();
    const WriteResult result =
        writeEntries(short_, kindForPath("strings.edt"),
                     {{481, "Hi"}, {961, std::string(148, 'L')}}, test::codePage());
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::SystemError);
    EXPECT_TRUE(test::says(result.status, "1 other entry written, were put back: the file is as "
                                          "it was"));
    EXPECT_EQ(test::readBytes(short_), image);
    EXPECT_EQ(faults_->ftruncates, 0); // a write never lengthens a file
}

TEST_F(FaultInjection, InterruptedAndShortCallsAreCarriedOn) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        if (call == 0)
            return failWith(EINTR);
        return __real_pwrite(fd, data, std::min<size_t>(length, 3), offset);
    };
    faults_->pread = [](int call, int fd, void* buffer, size_t length, off_t offset) {
        if (call % 3 == 0)
            return failWith(EINTR);
        return __real_pread(fd, buffer, std::min<size_t>(length, 5), offset);
    };
    faults_->fsync = [](int call, int fd) {
        return call == 0 ? static_cast<int>(failWith(EINTR)) : __real_fsync(fd);
    };
    faults_.arm();
    const ReadResult listed = readFile(path_, kEmail);
    const WriteResult result = write();
    faults_->armed = false;
    ASSERT_TRUE(listed.status.ok()) << describe(listed.status);
    EXPECT_EQ(listed.entries, decodeEntries(reinterpret_cast<const unsigned char*>(image_.data()),
                                            image_.size(), kindForFileName("email.edt")));
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    EXPECT_EQ(test::readBytes(path_), written());
    EXPECT_GT(faults_->pwrites, 10); // three bytes at a time
}

TEST_F(FaultInjection, ReadingFailingIsReported) {
    faults_->pread = [](int, int, void*, size_t, off_t) { return failWith(EIO); };
    faults_.arm();
    const ReadResult listed = readFile(path_, kEmail);
    const WriteResult result = write();
    const test::ToolRun list = test::runTool({"list", path_});
    faults_->armed = false;
    EXPECT_EQ(listed.status.code, StatusCode::SystemError);
    EXPECT_EQ(describe(listed.status), "Cannot read \"" + path_ + "\": Input/output error.");
    EXPECT_TRUE(listed.entries.empty());
    // The entry's old bytes cannot be read, so nothing is written.
    EXPECT_EQ(result.status.code, StatusCode::SystemError);
    EXPECT_EQ(result.status.undo, Undo::None);
    EXPECT_EQ(result.status.key, kKey);
    EXPECT_EQ(list.code, 1);
    EXPECT_TRUE(list.out.empty()) << list.out;
    EXPECT_TRUE(test::says(list.err, "Input/output error"));
    EXPECT_EQ(test::readBytes(path_), image_);
}

TEST_F(FaultInjection, EdtToolReportsAnUndoneWrite) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        if (call == 0)
            return __real_pwrite(fd, data, length / 2, offset);
        if (call == 1)
            return failWith(EIO);
        return __real_pwrite(fd, data, length, offset);
    };
    faults_->only = inodeOf(path_);
    faults_.arm();
    const test::ToolRun run = test::runTool({"write", path_, "641", "Hello"});
    faults_->armed = false;
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(
        test::says(run.err, "Input/output error. The entry's previous bytes were put back"));
    EXPECT_EQ(test::readBytes(path_), image_);
}

// An import writes many entries and flushes the file once, after the last; when
// that flush fails, every entry goes back.
TEST_F(FaultInjection, ImportFlushesOnceAndIsUndoneWhenThatFails) {
    const std::string csv = dir_.file("email.csv");
    test::writeBytes(csv, "key,text\r\n1,First\r\n641,Second\r\n1281,Third\r\n");

    int flushes = 0;
    faults_->fsync = [&flushes](int call, int fd) {
        ++flushes; // the first flush fails; the one after putting back succeeds
        return call == 0 ? static_cast<int>(failWith(EIO)) : __real_fsync(fd);
    };
    faults_->only = inodeOf(path_);
    faults_.arm();
    const test::ToolRun failed = test::runTool({"import", path_, csv});
    faults_->armed = false;
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(test::says(failed.err, "Input/output error"));
    EXPECT_TRUE(test::says(failed.err, "2 other entries written, were put back"));
    EXPECT_EQ(test::readBytes(path_), image_);
    EXPECT_EQ(flushes, 2);

    flushes = 0;
    faults_->fsync = [&flushes](int, int fd) {
        ++flushes;
        return __real_fsync(fd);
    };
    faults_->only = inodeOf(path_);
    faults_.arm();
    const test::ToolRun imported = test::runTool({"import", path_, csv});
    faults_->armed = false;
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(readFile(path_, kEmail).entries[2].text, "Third");
}

// An import of four entries whose write number `failAt` is torn by a full disk: half
// of it lands, the rest fails.
TEST_F(FaultInjection, AnImportFailingAtAnyWriteLeavesTheFileAsItWas) {
    const std::string csv = dir_.file("email.csv");
    test::writeBytes(csv, "key,text\r\n1,a\r\n641,b\r\n1281,c\r\n1921,d\r\n");
    for (int failAt : {0, 1, 3}) {
        faults_->pwrite = [failAt](int call, int fd, const void* data, size_t length, off_t at) {
            if (call == failAt + 1)
                return failWith(ENOSPC);
            return __real_pwrite(fd, data, call == failAt ? length / 2 : length, at);
        };
        faults_->pwrites = 0;
        faults_->only = inodeOf(path_);
        faults_.arm();
        const test::ToolRun run = test::runTool({"import", path_, csv});
        faults_->armed = false;
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(test::says(run.err, "stopped at entry " + formatKey(1 + 640 * failAt) +
                                            " (line " + std::to_string(failAt + 2)));
        EXPECT_TRUE(test::says(run.err, failAt == 0 ? "bytes were put back"
                                                    : std::to_string(failAt) + " other "));
        EXPECT_EQ(test::readBytes(path_), image_) << "failing at " << failAt;
    }
}

TEST_F(FaultInjection, AFileReplacedMidwayIsNotWrittenAndTheOriginalIsPutBack) {
    const std::string keep = dir_.file("original-link");
    ASSERT_EQ(::link(path_.c_str(), keep.c_str()), 0);
    const std::string other = dir_.file("other");
    test::writeBytes(other, std::string(4 * 640, 'o'));
    faults_->pwrite = [&](int call, int fd, const void* data, size_t length, off_t at) {
        if (call == 1) {
            EXPECT_EQ(std::rename(other.c_str(), path_.c_str()), 0);
        }
        return __real_pwrite(fd, data, length, at);
    };
    const FileIdentity listed = readFile(path_, kEmail).identity;
    faults_.arm();
    const WriteResult result =
        writeEntries(path_, kEmail, {{1, "a"}, {641, "b"}, {1281, "c"}}, test::codePage(), &listed);
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::FileChanged) << describe(result.status);
    EXPECT_EQ(test::readBytes(keep), image_);                     // the file we wrote, put back
    EXPECT_EQ(test::readBytes(path_), std::string(4 * 640, 'o')); // the newcomer, untouched
}

// Another program writes over the first entry while the second write fails: the undo
// puts back only the bytes that still hold this write's, and says so.
TEST_F(FaultInjection, AnUndoLeavesAnotherProgramsBytes) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t at) {
        if (call == 1) {
            __real_pwrite(fd, "OTHER", 5, 0);
            return failWith(EIO);
        }
        return __real_pwrite(fd, data, length, at);
    };
    faults_.arm();
    const WriteResult result =
        writeEntries(path_, kEmail, {{1, "a"}, {641, "b"}}, test::codePage());
    faults_->armed = false;
    EXPECT_EQ(result.status.undo, Undo::AroundOthers);
    EXPECT_TRUE(test::says(result.status, "were put back where they still held this write's; "
                                          "another program has changed the rest meanwhile."));
    EXPECT_EQ(test::readBytes(path_), "OTHER" + image_.substr(5));
}

TEST_F(FaultInjection, WithoutFaultsTheWriteLandsExactly) {
    // The hooks pass everything through when nothing is armed.
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    EXPECT_EQ(test::readBytes(path_), written());
}

} // namespace
} // namespace edt

namespace edt {
namespace {

// Calls of the file layer that change something on disk (writes and flushes, of the
// journal, its folder and the file alike) counted across hooks; -1 never kills.
int changes = 0;
int killAt = -1;

ssize_t killingPwrite(int, int fd, const void* data, size_t length, off_t at) {
    if (changes++ == killAt) {
        __real_pwrite(fd, data, length / 2, at); // torn halfway
        ::raise(SIGKILL);
    }
    return __real_pwrite(fd, data, length, at);
}

int killingFsync(int, int fd) {
    if (changes++ == killAt)
        ::raise(SIGKILL);
    return __real_fsync(fd);
}

// An import killed (SIGKILL, as a crash or kill -9) at each k-th change it makes;
// the next command that opens the file finds the journal and rolls it back. The file
// is then exactly as it was or exactly imported, never between.
class KilledImport : public ::testing::TestWithParam<std::uint64_t> {
protected:
    void SetUp() override {
        ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
        const FileKind kind = kindForFileName("email.edt");
        original_ = samples::makeImage(kind, samples::sampleTexts(kind, GetParam()), 'q');
        path_ = dir_.file("email.edt");
        csv_ = dir_.file("email.csv");
        std::string csv = "key,text\r\n";
        for (std::uint64_t i = 0; i < GetParam(); ++i)
            csv += formatKey(1 + 640 * i) + ",Imported text number " + std::to_string(i) + "\r\n";
        test::writeBytes(csv_, csv);
        test::writeBytes(path_, original_);
        imported_ = run(-1);
    }

    // Imports with the kill armed at `k`; the file's bytes after the next run lists it.
    std::string run(int k) {
        test::writeBytes(path_, original_);
        const pid_t child = ::fork();
        if (child == 0) {
            changes = 0;
            killAt = k;
            faults.pwrite = killingPwrite;
            faults.fsync = killingFsync;
            faults.armed = true;
            ::_exit(test::runTool({"import", path_, csv_}).code);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        killed_ = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        const test::ToolRun next = test::runTool({"list", path_});
        EXPECT_EQ(next.code, 0) << next.err;
        const bool rolledBack = next.err.find("was interrupted") != std::string::npos;
        EXPECT_TRUE(killed_ || (!rolledBack && WEXITSTATUS(status) == 0)) << "k = " << k;
        return test::readBytes(path_);
    }

    // Kills at each of `points`, and counts what the file holds afterwards.
    void killEach(const std::vector<int>& points) {
        int runs = 0, asBefore = 0, asImported = 0, between = 0;
        for (const int k : points) {
            const std::string after = run(k);
            if (!killed_)
                break;
            ++runs;
            (after == original_ ? asBefore : after == imported_ ? asImported : between)++;
            EXPECT_TRUE(after == original_ || after == imported_) << "killed at change " << k;
        }
        std::printf("%d kills of an import of %llu entries: %d as before, %d imported, %d "
                    "between\n",
                    runs, static_cast<unsigned long long>(GetParam()), asBefore, asImported,
                    between);
        EXPECT_GT(runs, 0);
        EXPECT_EQ(between, 0);
    }

    test::TempDir dir_, state_;
    std::string original_, imported_, path_, csv_;
    bool killed_ = false;
};

TEST_P(KilledImport, LeavesTheFileAsItWasOrImportedAfterTheNextRun) {
    ASSERT_NE(imported_, original_);
    changes = 0; // how many changes a whole import makes
    killAt = -1;
    faults.pwrite = killingPwrite;
    faults.fsync = killingFsync;
    faults.armed = true;
    test::writeBytes(path_, original_);
    ASSERT_EQ(test::runTool({"import", path_, csv_}).code, 0);
    faults = Faults{};
    const int total = changes;
    // Every change of a small import; of a large one the first and last few (journal,
    // flushes, removal) and a sample of the entries between.
    std::vector<int> points;
    const int step = GetParam() < 100 ? 1 : total / 24;
    for (int k = 0; k <= total; ++k) {
        if (k < 6 || k >= total - 6 || k % step == 0)
            points.push_back(k);
    }
    killEach(points);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KilledImport, ::testing::Values(4, 5000));

} // namespace
} // namespace edt
