// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/message.h"
#include "record/reader.h"
#include "record/writer.h"
#include "tests/support/entry_lines.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

const FileKind kEmail = kindForFileName("email.edt");

using test::bytesOf;
using test::lineOf;

// A file of generated texts in a temp folder, and its bytes before any write.
class WriterTest : public testing::Test {
protected:
    std::string make(const std::string& name, std::uint64_t entries) {
        const FileKind kind = kindForFileName(name);
        path_ = dir_.file(name);
        test::writeBytes(path_,
                         samples::makeImage(kind, samples::sampleTexts(kind, entries), 0x5A));
        before_ = test::readBytes(path_);
        return path_;
    }
    WriteResult write(RecordKey key, const std::string& text) {
        return writeRecord(path_, kindForPath(path_), key, text, test::codePage());
    }
    // Every byte outside [from, from + length) is as it was.
    void expectOnlyChanged(std::size_t from, std::size_t length) {
        const std::string after = test::readBytes(path_);
        ASSERT_GE(after.size(), before_.size());
        EXPECT_EQ(after.substr(0, from), before_.substr(0, from));
        if (from + length < before_.size()) {
            EXPECT_EQ(after.substr(from + length), before_.substr(from + length));
        }
    }
    void expectUnchanged() { EXPECT_EQ(test::readBytes(path_), before_); }

    test::TempDir dir_;
    std::string path_;
    std::string before_;
};

TEST_F(WriterTest, WritesTextAndTerminatorOnly) {
    make("email.edt", 3);
    const WriteResult result = write(641, "Hi!");
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    EXPECT_EQ(lineOf(result.line), "[0000641] Hi!");
    EXPECT_EQ(test::readBytes(path_).substr(640, 10),
              bytesOf({0x49, 0, 0x6A, 0, 0x22, 0, 0, 0, 0, 0}));
    expectOnlyChanged(640, 10);
    EXPECT_EQ(readFile(path_, kEmail).entries[1].text, "Hi!");
}

TEST_F(WriterTest, EncodesBlanksAndLineBreaksUnshifted) {
    make("strings.edt", 2);
    ASSERT_TRUE(write(481, " ").status.ok());
    EXPECT_EQ(test::readBytes(path_).substr(480, 6), bytesOf({0x20, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(write(1, "a\r\nb").status.ok());
    EXPECT_EQ(test::readBytes(path_).substr(0, 12),
              bytesOf({0x62, 0, 0x0D, 0, 0x0A, 0, 0x63, 0, 0, 0, 0, 0}));
}

TEST_F(WriterTest, ShorterTextLeavesOldBytesBehindTheTerminator) {
    make("files.edt", 2);
    ASSERT_TRUE(write(1, std::string(100, 'x')).status.ok());
    before_ = test::readBytes(path_);
    ASSERT_TRUE(write(1, "ab").status.ok());
    expectOnlyChanged(0, 8);
    EXPECT_EQ(readFile(path_, kindForPath("files.edt")).entries[0].text, "ab");
}

TEST_F(WriterTest, EmptyTextWritesFourZeroBytesAtTheKey) {
    make("quests.edt", 4);
    ASSERT_TRUE(write(161, "").status.ok());
    EXPECT_EQ(test::readBytes(path_).substr(160, 4), std::string(4, '\0'));
    expectOnlyChanged(160, 4);
    EXPECT_EQ(lineOf(readFile(path_, kindForPath("quests.edt")).entries[1]), "[0000161] ");
}

struct FitCase {
    const char* name;
    RecordKey key;
    int maxChars;
};

class TextFit : public testing::TestWithParam<FitCase> {};

// The longest text that fits is stored whole; one character more is refused with
// the entry's maximum named, and nothing is written.
TEST_P(TextFit, LongestFitsOneMoreIsRefused) {
    const FitCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.file(c.name);
    const FileKind kind = kindForFileName(c.name);
    test::writeBytes(path, samples::makeImage(kind, samples::sampleTexts(kind, 4), 0x5A));
    const std::string before = test::readBytes(path);

    const WriteResult tooLong =
        writeRecord(path, kind, c.key, std::string(c.maxChars + 1, 'q'), test::codePage());
    EXPECT_EQ(tooLong.status.code, StatusCode::TextTooLong);
    EXPECT_TRUE(test::says(tooLong.status, "at most " + std::to_string(c.maxChars)));
    EXPECT_EQ(test::readBytes(path), before);

    const WriteResult fits =
        writeRecord(path, kind, c.key, std::string(c.maxChars, 'q'), test::codePage());
    ASSERT_TRUE(fits.status.ok()) << describe(fits.status);
    const std::string after = test::readBytes(path);
    const std::size_t end = c.key - 1 + 2 * c.maxChars + 4;
    EXPECT_EQ(after.substr(end), before.substr(end)); // the next entry is untouched
    for (const auto& e : readFile(path, kind).entries) {
        if (e.key == c.key) {
            EXPECT_EQ(e.text, std::string(c.maxChars, 'q'));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, TextFit,
                         testing::Values(FitCase{"strings.edt", 481, 238},
                                         FitCase{"email.edt", 641, 318},
                                         FitCase{"files.edt", 801, 398},
                                         FitCase{"quests.edt", 161, 78}, FitCase{"civ", 321, 158},
                                         FitCase{"aimbios.edt", 1, 398},
                                         FitCase{"mercbios.edt", 801, 158}),
                         [](const testing::TestParamInfo<FitCase>& info) {
                             return test::paramName(info.param.name, info.index);
                         });

TEST_F(WriterTest, RefusesKeysThatDoNotStartAnEntry) {
    make("mercbios.edt", 4); // keys 1, 801, 1121, 1921
    for (RecordKey key : {RecordKey{0}, RecordKey{2}, RecordKey{641}, RecordKey{2241},
                          RecordKey{3361}, ~RecordKey{0}}) {
        const WriteResult result = write(key, "x");
        EXPECT_EQ(result.status.code, StatusCode::BadKey) << key;
        EXPECT_TRUE(test::says(result.status, formatKey(key)));
    }
    expectUnchanged();
}

TEST_F(WriterTest, RefusesCharactersWithoutStoredForm) {
    make("email.edt", 2);
    for (const std::string& text :
         {std::string("a\0b", 3), std::string("\xFF"), std::string("ok \xFF")}) {
        const WriteResult result = write(1, text);
        EXPECT_EQ(result.status.code, StatusCode::UnstorableCharacter);
        EXPECT_TRUE(test::says(result.status, "U+00"));
    }
    expectUnchanged();
}

TEST_F(WriterTest, KeepsUndefinedWindowsBytes) {
    make("email.edt", 1);
    const std::string text = "\x81\x8D\x8F\x90\x9D\xFE";
    ASSERT_TRUE(write(1, text).status.ok());
    EXPECT_EQ(readFile(path_, kEmail).entries[0].text, text);
}

TEST_F(WriterTest, RefusesAFileThatChangedSinceItWasListed) {
    make("email.edt", 2);
    const ReadResult listed = readFile(path_, kEmail);
    ASSERT_TRUE(listed.status.ok());
    test::writeBytes(path_, before_ + std::string(640, '\0')); // another program extends it
    before_ = test::readBytes(path_);
    const WriteResult result =
        writeRecord(path_, kEmail, 1, "x", test::codePage(), &listed.identity);
    EXPECT_EQ(result.status.code, StatusCode::FileChanged);
    EXPECT_TRUE(test::says(result.status, "changed by another program"));
    expectUnchanged();

    // Its own write gives the identity to use for the next one.
    const ReadResult relisted = readFile(path_, kEmail);
    const WriteResult first =
        writeRecord(path_, kEmail, 1, "x", test::codePage(), &relisted.identity);
    ASSERT_TRUE(first.status.ok()) << describe(first.status);
    const WriteResult second =
        writeRecord(path_, kEmail, 641, "y", test::codePage(), &first.identity);
    EXPECT_TRUE(second.status.ok()) << describe(second.status);
}

TEST_F(WriterTest, MissingFileIsNotCreated) {
    const std::string path = dir_.file("email.edt");
    const WriteResult result = writeRecord(path, kEmail, 1, "x", test::codePage());
    EXPECT_EQ(result.status.code, StatusCode::SystemError);
    EXPECT_TRUE(test::says(result.status, "No such file"));
    EXPECT_EQ(result.status.key, 1u);
    EXPECT_THROW(test::readBytes(path), std::runtime_error);
}

TEST_F(WriterTest, FolderIsRefused) {
    const WriteResult result = writeRecord(dir_.path(), kEmail, 1, "x", test::codePage());
    EXPECT_NE(result.status.code, StatusCode::Ok);
    EXPECT_FALSE(describe(result.status).empty());
}

TEST_F(WriterTest, TheLastEntryOfAPartialFileTakesOnlyWhatFitsItsBytesThere) {
    // 720 bytes list two 480-byte entries; the second has 240 bytes in the file.
    path_ = dir_.file("x.edt");
    test::writeBytes(path_, std::string(720, '\x5A'));
    before_ = test::readBytes(path_);
    const Status refused = write(481, std::string(119, 'k')).status;
    EXPECT_EQ(refused.code, StatusCode::EntryCutOff);
    EXPECT_EQ(refused.limit, 118u);
    EXPECT_EQ(test::readBytes(path_), before_);
    ASSERT_TRUE(write(481, std::string(118, 'k')).status.ok());
    const std::string after = test::readBytes(path_);
    EXPECT_EQ(after.size(), 720u);
    EXPECT_EQ(after.substr(0, 480), before_.substr(0, 480));
    EXPECT_EQ(readFile(path_, kindForPath("x.edt")).entries[1].text, std::string(118, 'k'));
}

TEST(CheckWrite, NeedsNoFile) {
    const FileKind kind = kindForFileName("quests.edt");
    EXPECT_TRUE(checkWrite(kind, 1600, 1441, std::string(78, 'a'), "q", test::codePage()).ok());
    EXPECT_EQ(checkWrite(kind, 1600, 1601, "a", "q", test::codePage()).code, StatusCode::BadKey);
    // The empty file's one entry, and one wholly past the end of a cut-off file.
    EXPECT_EQ(checkWrite(kind, 0, 1, "", "q", test::codePage()).code, StatusCode::EntryPastEnd);
    EXPECT_EQ(
        checkWrite(kindForFileName("aimbios.edt"), 1681, 1921, "", "q", test::codePage()).code,
        StatusCode::EntryPastEnd);
}

} // namespace
} // namespace edt
