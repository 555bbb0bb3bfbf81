#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include "cli/batch_writer.h"
#include "record/text_codec.h"
#include "tests/translate/translate_support.h"
#include "tools/sample_files.h"

namespace edt::cli {
namespace {

using test::TempDir;

// A default-kind file (480-byte entries) and a checked plan that changes entries.
class AllOrNothing : public testing::Test {
protected:
    void make(std::string image, const std::vector<std::string>& keys) {
        path_ = dir_.file("strings.edt");
        original_ = std::move(image);
        test::writeBytes(path_, original_);
        for (std::size_t i = 0; i < keys.size(); ++i)
            translation_.items.push_back({i + 2, keys[i], "Neuer Text " + std::to_string(i)});
        ASSERT_TRUE(planImport(path_, translation_, plan_).ok());
        ASSERT_TRUE(plan_.problems.empty());
        ASSERT_EQ(plan_.writes.size(), keys.size());
    }
    void makeSix() {
        const FileKind kind = kindForFileName("strings.edt");
        make(samples::makeImage(kind, samples::sampleTexts(kind, 6), 0x5A),
             {"1", "481", "961", "1441", "1921", "2401"});
    }

    TempDir dir_;
    std::string path_, original_;
    Translation translation_;
    ImportPlan plan_;
};

// The writer of the window, until call `failAt`: that one writes half its bytes
// (a write torn by a full disk) and fails.
EntryWriter tornAt(std::size_t failAt, std::size_t& calls) {
    return [failAt, &calls](const std::string& path, std::string_view title, RecordKey key,
                            std::string_view text, const FileIdentity* expected, Flush flush) {
        if (calls++ < failAt)
            return writeRecord(path, title, key, text, expected, flush);
        File file;
        EXPECT_TRUE(file.open(path, File::Mode::Update).ok());
        const std::string bytes = encodeText(text);
        EXPECT_TRUE(file.writeAt(key - 1, bytes.data(), bytes.size() / 2).ok());
        WriteResult result;
        result.status = Status::error(StatusCode::IoError, "Cannot write: No space left.");
        return result;
    };
}

TEST_F(AllOrNothing, AFailureAtAnyWriteLeavesTheFileAsItWas) {
    makeSix();
    for (std::size_t failAt : {0u, 1u, 3u, 5u}) {
        std::size_t calls = 0;
        const Status status = writeAll(path_, plan_.identity, plan_.writes, tornAt(failAt, calls));
        EXPECT_EQ(status.code, StatusCode::IoError);
        EXPECT_NE(status.message.find("stopped at entry " + formatKey(1 + failAt * 480) +
                                      " (line " + std::to_string(failAt + 2)),
                  std::string::npos)
            << status.message;
        EXPECT_NE(status.message.find("the " + std::to_string(failAt) +
                                      " entries written before were put back"),
                  std::string::npos)
            << status.message;
        EXPECT_EQ(test::fileDigest(path_), test::digest(original_)) << "failing at " << failAt;
        // The identity changed with the writes: plan again for the next round.
        ASSERT_TRUE(planImport(path_, translation_, plan_).ok());
    }
}

TEST_F(AllOrNothing, AFileThatCannotGrowIsPutBackOnTheSystemsOwnError) {
    // Three records and 300 bytes: the fourth entry reaches past the end of the file.
    const FileKind kind = kindForFileName("strings.edt");
    std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 4), 0x5A);
    image.resize(3 * 480 + 300);
    make(image, {"1", "481", "1441"});
    plan_.writes.back().text = std::string(200, 'L'); // 404 bytes from 1441: past the end

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit limit = old;
    limit.rlim_cur = original_.size();
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const Status status = writeAll(path_, plan_.identity, plan_.writes);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status.code, StatusCode::IoError) << status.message;
    EXPECT_NE(status.message.find("File too large"), std::string::npos) << status.message;
    EXPECT_NE(status.message.find("the 2 entries written before were put back"), std::string::npos);
    EXPECT_EQ(test::readBytes(path_), original_);
}

TEST_F(AllOrNothing, AFileMadeLongerIsCutBackToItsLength) {
    const FileKind kind = kindForFileName("strings.edt");
    std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 2), 0x5A);
    image.resize(480 + 300);
    make(image, {"1", "481"});
    plan_.writes.back().text = std::string(200, 'L');
    // The last write succeeds, grows the file, and is then reported as failed.
    const Status status =
        writeAll(path_, plan_.identity, plan_.writes,
                 [](const std::string& path, std::string_view title, RecordKey key,
                    std::string_view text, const FileIdentity* expected, Flush flush) {
                     WriteResult result = writeRecord(path, title, key, text, expected, flush);
                     if (key == 481)
                         result.status =
                             Status::error(StatusCode::VerifyFailed, "Read back differs.");
                     return result;
                 });
    EXPECT_EQ(status.code, StatusCode::VerifyFailed);
    EXPECT_EQ(test::readBytes(path_), original_);
}

TEST_F(AllOrNothing, AFileReplacedMidwayIsNotWrittenAndTheOriginalIsPutBack) {
    makeSix();
    const std::string keep = dir_.file("original-link");
    ASSERT_EQ(::link(path_.c_str(), keep.c_str()), 0);
    const std::string other = dir_.file("other");
    test::writeBytes(other, std::string(6 * 480, 'o'));
    std::size_t calls = 0;
    const Status status =
        writeAll(path_, plan_.identity, plan_.writes,
                 [&](const std::string& path, std::string_view title, RecordKey key,
                     std::string_view text, const FileIdentity* expected, Flush flush) {
                     if (calls++ == 2) {
                         EXPECT_EQ(std::rename(other.c_str(), path.c_str()), 0);
                     }
                     return writeRecord(path, title, key, text, expected, flush);
                 });
    EXPECT_EQ(status.code, StatusCode::FileChanged);
    EXPECT_EQ(test::readBytes(keep), original_);                  // the file we wrote, put back
    EXPECT_EQ(test::readBytes(path_), std::string(6 * 480, 'o')); // the newcomer, untouched
}

} // namespace
} // namespace edt::cli
