// SPDX-License-Identifier: GPL-3.0-or-later
// A file changed by another program between listing and writing. The core, given
// the identity the listing took, refuses and writes nothing. edt-tool has no listing
// to compare with: each run writes to the file as it is then, or refuses as for any
// other file.
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "record/escaped_text.h"
#include "record/message.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/reliability/test_files.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

const FileKind kEmail = kindForFileName("email.edt");

using test::TempDir;

constexpr RecordKey kKey = 1281; // the third entry of email.edt

std::string sampleImage(std::uint64_t entries = 6) {
    const FileKind kind = kindForFileName("email.edt");
    return samples::makeImage(kind, samples::sampleTexts(kind, entries));
}

void setModified(const std::string& path, const struct timespec& when) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct timespec modifiedOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mtim;
}

struct Change {
    const char* name;
    void (*apply)(const TempDir& dir, const std::string& path);
    const char* says; // what the core's refusal says
    bool toolRefuses; // edt-tool write to the changed file is refused too
};

const Change kChanges[] = {
    {"deleted", [](const TempDir&, const std::string& path) { ::unlink(path.c_str()); },
     "has been removed or replaced", true},
    {"moved away",
     [](const TempDir& dir, const std::string& path) {
         ::rename(path.c_str(), (dir.file("moved.edt")).c_str());
     },
     "has been removed or replaced", true},
    {"replaced by a folder",
     [](const TempDir&, const std::string& path) {
         ::unlink(path.c_str());
         ::mkdir(path.c_str(), 0755);
     },
     "has been removed or replaced", true},
    {"replaced by a new file (saved by rename)",
     [](const TempDir& dir, const std::string& path) {
         test::writeBytes(dir.file("new.tmp"), sampleImage(8));
         ::rename((dir.file("new.tmp")).c_str(), path.c_str());
     },
     "has been changed by another program", false},
    {"replaced by a copy with the same bytes and time",
     [](const TempDir& dir, const std::string& path) {
         test::writeBytes(dir.file("copy.tmp"), test::readBytes(path));
         setModified(dir.file("copy.tmp"), modifiedOf(path));
         ::rename((dir.file("copy.tmp")).c_str(), path.c_str());
     },
     "has been changed by another program", false},
    {"replaced by a link to another file",
     [](const TempDir& dir, const std::string& path) {
         test::writeBytes(dir.file("other.edt"), sampleImage(6));
         ::unlink(path.c_str());
         ::symlink("other.edt", path.c_str());
     },
     "has been changed by another program", false},
    {"shortened by one byte",
     [](const TempDir&, const std::string& path) {
         struct stat info {};
         ::stat(path.c_str(), &info);
         ::truncate(path.c_str(), info.st_size - 1);
     },
     "has been changed by another program", false},
    {"shortened to before the entry",
     [](const TempDir&, const std::string& path) { ::truncate(path.c_str(), 100); },
     "has been changed by another program", true},
    {"lengthened",
     [](const TempDir&, const std::string& path) {
         test::writeBytes(path, test::readBytes(path) + std::string(640, '\0'));
     },
     "has been changed by another program", false},
    {"rewritten in place, same length, a second later",
     [](const TempDir&, const std::string& path) {
         const struct timespec before = modifiedOf(path);
         std::string bytes = test::readBytes(path);
         bytes[kKey - 1] = 'Z';
         test::writeBytes(path, bytes);
         // Set the time explicitly: two writes within one tick of the file system's
         // clock can share a modification time (see the note in the README).
         setModified(path, {before.tv_sec + 1, before.tv_nsec});
     },
     "has been changed by another program", false},
    {"touched (only its time changed)",
     [](const TempDir&, const std::string& path) {
         const struct timespec before = modifiedOf(path);
         setModified(path, {before.tv_sec + 1, before.tv_nsec});
     },
     "has been changed by another program", false},
};

// Names the case in test output (instead of its bytes).
void PrintTo(const Change& c, std::ostream* out) {
    *out << c.name;
}

class StaleFile : public ::testing::TestWithParam<Change> {};

TEST_P(StaleFile, WriteIsRefusedAndNothingIsWritten) {
    TempDir dir;
    const std::string path = dir.file("email.edt");
    test::writeBytes(path, sampleImage());
    const ReadResult listed = readFile(path, kEmail);
    ASSERT_TRUE(listed.status.ok()) << describe(listed.status);

    GetParam().apply(dir, path);
    const std::string tree = test::describeTree(dir.path());
    const WriteResult result =
        writeRecord(path, kEmail, kKey, "Hi", test::codePage(), &listed.identity);
    const bool removed = std::string(GetParam().says).find("removed") != std::string::npos;
    EXPECT_EQ(result.status.code, removed ? StatusCode::FileRemoved : StatusCode::FileChanged)
        << describe(result.status);
    EXPECT_TRUE(test::says(result.status, GetParam().says));
    EXPECT_TRUE(test::says(result.status, path));
    EXPECT_EQ(test::describeTree(dir.path()), tree);

    // edt-tool, run now, sees the file as it is.
    const test::ToolRun tool = test::runTool({"write", path, std::to_string(kKey), "Hi"});
    if (GetParam().toolRefuses) {
        EXPECT_EQ(tool.code, 1);
        EXPECT_TRUE(test::says(tool.err, "Nothing was written"));
        EXPECT_EQ(test::describeTree(dir.path()), tree);
    } else {
        EXPECT_EQ(tool.code, 0) << tool.err;
        EXPECT_EQ(readFile(path, kEmail).entries[2].text, "Hi");
    }
}

std::string changeName(const ::testing::TestParamInfo<Change>& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Changes, StaleFile, ::testing::ValuesIn(kChanges), changeName);

TEST(StaleFile, UnchangedFileIsWrittenAndItsNewIdentityIsTheListedOne) {
    TempDir dir;
    const std::string path = dir.file("email.edt");
    const std::string image = sampleImage();
    test::writeBytes(path, image);
    const ReadResult listed = readFile(path, kEmail);
    ASSERT_TRUE(listed.status.ok());

    const WriteResult first =
        writeRecord(path, kEmail, kKey, "Hi", test::codePage(), &listed.identity);
    ASSERT_TRUE(first.status.ok()) << describe(first.status);
    // The identity after the write is what a fresh listing sees, so the next write
    // with it goes through.
    const ReadResult again = readFile(path, kEmail);
    EXPECT_EQ(first.identity, again.identity);
    const WriteResult second =
        writeRecord(path, kEmail, 1, "Yo", test::codePage(), &first.identity);
    ASSERT_TRUE(second.status.ok()) << describe(second.status);

    std::string expected = image;
    expected.replace(kKey - 1, 8, encodeText("Hi"));
    expected.replace(0, 8, encodeText("Yo"));
    EXPECT_EQ(test::readBytes(path), expected);
}

} // namespace
} // namespace edt
