// Faults of the file layer injected under the core: this program is linked with
// --wrap for pread, pwrite, fsync and ftruncate, so every call the core makes goes
// through the hooks below while a test has a fault armed. A failed write must be
// undone (or, when even that fails, reported as possibly damaging the entry), and a
// mismatch on reading back must never pass for success.
#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include "record/reader.h"
#include "record/text_codec.h"
#include "record/writer.h"
#include "tests/reliability/test_files.h"
#include "tools/sample_files.h"

extern "C" {
ssize_t __real_pread(int fd, void* buffer, size_t length, off_t offset);
ssize_t __real_pwrite(int fd, const void* data, size_t length, off_t offset);
int __real_fsync(int fd);
int __real_ftruncate(int fd, off_t length);
}

namespace {

// The armed faults; each hook gets the number of its call (from 0) since arming.
// An empty hook, or none armed, passes the call through.
struct Faults {
    bool armed = false;
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

ssize_t failWith(int error) {
    errno = error;
    return -1;
}

} // namespace

extern "C" {
ssize_t __wrap_pread(int fd, void* buffer, size_t length, off_t offset) {
    if (faults.armed && faults.pread)
        return faults.pread(faults.preads++, fd, buffer, length, offset);
    return __real_pread(fd, buffer, length, offset);
}
ssize_t __wrap_pwrite(int fd, const void* data, size_t length, off_t offset) {
    if (faults.armed && faults.pwrite)
        return faults.pwrite(faults.pwrites++, fd, data, length, offset);
    return __real_pwrite(fd, data, length, offset);
}
int __wrap_fsync(int fd) {
    if (faults.armed && faults.fsync)
        return faults.fsync(faults.fsyncs++, fd);
    return __real_fsync(fd);
}
int __wrap_ftruncate(int fd, off_t length) {
    if (faults.armed && faults.ftruncate)
        return faults.ftruncate(faults.ftruncates++, fd, length);
    return __real_ftruncate(fd, length);
}
}

namespace edt {
namespace {

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

    WriteResult write() { return writeRecord(path_, "email.edt", kKey, kText); }

    TempDir dir_;
    std::string image_;
    std::string path_;
    Armed faults_;
};

TEST_F(FaultInjection, WriteFailingHalfWayIsUndone) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        if (call == 0)
            return __real_pwrite(fd, data, length / 2, offset);
        if (call == 1)
            return failWith(EIO);
        return __real_pwrite(fd, data, length, offset);
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_EQ(result.status.message,
              "Cannot write \"" + path_ +
                  "\": Input/output error. The entry's previous bytes were put back: the file "
                  "is as it was.");
    EXPECT_EQ(test::readBytes(path_), image_);
}

TEST_F(FaultInjection, WriteMakingNoProgressIsAFullDisk) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        return call == 0 ? ssize_t{0} : __real_pwrite(fd, data, length, offset);
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_NE(result.status.message.find("No space left on device"), std::string::npos);
    EXPECT_EQ(test::readBytes(path_), image_);
}

TEST_F(FaultInjection, FlushFailingIsUndone) {
    faults_->fsync = [](int call, int fd) {
        return call == 0 ? static_cast<int>(failWith(EIO)) : __real_fsync(fd);
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_EQ(result.status.message,
              "Cannot flush to disk \"" + path_ +
                  "\": Input/output error. The entry's previous bytes were put back: the file "
                  "is as it was.");
    EXPECT_EQ(test::readBytes(path_), image_);
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
    EXPECT_NE(result.status.message.find("The bytes read back from entry 0000641 of \"" + path_ +
                                         "\" differ from those written."),
              std::string::npos)
        << result.status.message;
    EXPECT_NE(result.status.message.find("put back: the file is as it was"), std::string::npos);
    EXPECT_EQ(test::readBytes(path_), image_);
}

TEST_F(FaultInjection, UndoFailingTooSaysTheEntryMayBeDamaged) {
    faults_->pwrite = [](int call, int fd, const void* data, size_t length, off_t offset) {
        return call == 0 ? __real_pwrite(fd, data, length / 2, offset) : failWith(EIO);
    };
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_NE(result.status.message.find("Putting the previous bytes back failed as well"),
              std::string::npos)
        << result.status.message;
    EXPECT_NE(result.status.message.find("entry 0000641 of \"" + path_ + "\" may be damaged."),
              std::string::npos)
        << result.status.message;
    // The half write stays, but it is reported, and only the entry was touched.
    const std::string after = test::readBytes(path_);
    EXPECT_NE(after, image_);
    EXPECT_EQ(after.substr(0, kKey - 1), image_.substr(0, kKey - 1));
    const std::size_t end = kKey - 1 + encodeText(kText).size();
    EXPECT_EQ(after.substr(end), image_.substr(end));
}

TEST_F(FaultInjection, FailedWriteThatLengthenedTheFileIsCutBack) {
    // An empty file lists one entry at key 1; writing it lengthens the file.
    const std::string empty = dir_.file("strings.edt");
    test::writeBytes(empty, "");
    faults_->fsync = [](int, int) { return static_cast<int>(failWith(EIO)); };
    faults_.arm();
    const WriteResult result = writeRecord(empty, "strings.edt", 1, "Hi");
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    // The undo's own flush failed too, so it says so; but the length is back.
    EXPECT_NE(result.status.message.find("may be damaged"), std::string::npos);
    EXPECT_EQ(test::readBytes(empty), "");
}

TEST_F(FaultInjection, FailedWriteThatLengthenedTheFileIsCutBackAndSaysSo) {
    const std::string empty = dir_.file("strings.edt");
    test::writeBytes(empty, "");
    faults_->fsync = [](int call, int fd) {
        return call == 0 ? static_cast<int>(failWith(EIO)) : __real_fsync(fd);
    };
    faults_->ftruncate = [](int, int fd, off_t length) { return __real_ftruncate(fd, length); };
    faults_.arm();
    const WriteResult result = writeRecord(empty, "strings.edt", 1, "Hi");
    faults_->armed = false;
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_NE(result.status.message.find("the file is as it was"), std::string::npos)
        << result.status.message;
    EXPECT_EQ(test::readBytes(empty), "");
    EXPECT_EQ(faults_->ftruncates, 1);
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
    const ReadResult listed = readFile(path_, "email.edt");
    const WriteResult result = write();
    faults_->armed = false;
    ASSERT_TRUE(listed.status.ok()) << listed.status.message;
    EXPECT_EQ(listed.entries, decodeEntries(reinterpret_cast<const unsigned char*>(image_.data()),
                                            image_.size(), kindForFileName("email.edt")));
    ASSERT_TRUE(result.status.ok()) << result.status.message;
    EXPECT_EQ(test::readBytes(path_), written());
    EXPECT_GT(faults_->pwrites, 10); // three bytes at a time
}

TEST_F(FaultInjection, ReadingFailingIsReported) {
    faults_->pread = [](int, int, void*, size_t, off_t) { return failWith(EIO); };
    faults_.arm();
    const ReadResult listed = readFile(path_, "email.edt");
    const WriteResult result = write();
    const test::ToolRun list = test::runTool({"list", path_});
    faults_->armed = false;
    EXPECT_EQ(listed.status.code, StatusCode::IoError);
    EXPECT_EQ(listed.status.message, "Cannot read \"" + path_ + "\": Input/output error.");
    EXPECT_TRUE(listed.entries.empty());
    // The entry's old bytes cannot be read, so nothing is written.
    EXPECT_EQ(result.status.code, StatusCode::IoError);
    EXPECT_NE(result.status.message.find("Nothing was written to entry 0000641"),
              std::string::npos);
    EXPECT_EQ(list.code, 1);
    EXPECT_TRUE(list.out.empty()) << list.out;
    EXPECT_NE(list.err.find("Input/output error"), std::string::npos);
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
    faults_.arm();
    const test::ToolRun run = test::runTool({"write", path_, "641", "Hello"});
    faults_->armed = false;
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("Input/output error. The entry's previous bytes were put back"),
              std::string::npos)
        << run.err;
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
    faults_.arm();
    const test::ToolRun failed = test::runTool({"import", path_, csv});
    faults_->armed = false;
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.err.find("Input/output error"), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("undone"), std::string::npos) << failed.err;
    EXPECT_EQ(test::readBytes(path_), image_);
    EXPECT_EQ(flushes, 2);

    flushes = 0;
    faults_->fsync = [&flushes](int, int fd) {
        ++flushes;
        return __real_fsync(fd);
    };
    faults_.arm();
    const test::ToolRun imported = test::runTool({"import", path_, csv});
    faults_->armed = false;
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(readFile(path_, "email.edt").entries[2].text, "Third");
}

TEST_F(FaultInjection, WithoutFaultsTheWriteLandsExactly) {
    // The hooks pass everything through when nothing is armed.
    faults_.arm();
    const WriteResult result = write();
    faults_->armed = false;
    ASSERT_TRUE(result.status.ok()) << result.status.message;
    EXPECT_EQ(test::readBytes(path_), written());
}

} // namespace
} // namespace edt
