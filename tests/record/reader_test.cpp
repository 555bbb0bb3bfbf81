// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/message.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "tests/support/entry_lines.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::bytesOf;
using test::decodeEntries;
using test::lineOf;

std::vector<EntryLine> decode(const std::string& bytes, const char* name) {
    return decodeEntries(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                         kindForFileName(name));
}

std::string withSize(std::string bytes, std::size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

TEST(Decode, StoredBytesMapToCharacters) {
    EXPECT_EQ(decodeByte(33), ' '); // the encoder never makes it, but it reads as a blank
    EXPECT_EQ(decodeByte(32), ' ');
    EXPECT_EQ(decodeByte(13), '\r');
    EXPECT_EQ(decodeByte(0x49), 'H');
    EXPECT_EQ(decodeByte(255), static_cast<unsigned char>(254));
    EXPECT_EQ(encodeChar('H'), 0x49);
    EXPECT_EQ(encodeChar(' '), 32);
}

TEST(Decode, EmailExampleGivesOneLine) {
    const auto entries =
        decode(withSize(bytesOf({0x49, 0, 0x6A, 0, 0x22, 0, 0, 0, 0, 0}), 640), "email.edt");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(lineOf(entries[0]), "[0000001] Hi!");
}

TEST(Decode, KeysFollowTheKind) {
    auto keysOf = [](const std::vector<EntryLine>& entries) {
        std::vector<RecordKey> keys;
        for (const auto& e : entries)
            keys.push_back(e.key);
        return keys;
    };
    EXPECT_EQ(keysOf(decode(std::string(960, '\0'), "strings.edt")),
              (std::vector<RecordKey>{1, 481}));
    EXPECT_EQ(keysOf(decode(std::string(1920, '\0'), "email.edt")),
              (std::vector<RecordKey>{1, 641, 1281}));
    EXPECT_EQ(keysOf(decode(std::string(2240, '\0'), "mercbios.edt")),
              (std::vector<RecordKey>{1, 801, 1121, 1921}));
}

TEST(Decode, SplitKindListsFieldsInTurn) {
    const std::string image =
        samples::makeImage(kindForFileName("aimbios.edt"), {"first", "second", "third", "fourth"});
    const auto entries = decode(image, "aimbios.edt");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(lineOf(entries[1]), "[0000801] second");
    EXPECT_EQ(lineOf(entries[3]), "[0001921] fourth");
}

TEST(Decode, TerminatorByRunningZeroBalance) {
    // Empty entry: two zero bytes at its start.
    EXPECT_EQ(decode(withSize("", 480), "x.edt")[0].text, "");
    // A zero unit that is not aligned still ends the text where the balance hits 2:
    // 41 00 00 42 00 00 -> -1 0 1 0 1 2.
    EXPECT_EQ(decode(withSize(bytesOf({0x41, 0, 0, 0x42, 0, 0, 0x43}), 480), "x.edt")[0].text,
              "@A");
    // Non-zero high bytes are characters too; a lone zero between them is skipped.
    EXPECT_EQ(decode(withSize(bytesOf({0x49, 0x02, 0, 0x6A}), 480), "x.edt")[0].text,
              std::string("H\x02i"));
    // No terminator at all: every non-zero byte of the entry, and no more.
    std::string full(480, '\x42');
    full += std::string(480, '\x43');
    const auto entries = decode(full, "x.edt");
    EXPECT_EQ(entries[0].text, std::string(480, 'A'));
    EXPECT_EQ(entries[1].text, std::string(480, 'B'));
}

TEST(Decode, ShortFilesListTheFirstEntryWithZerosPastTheEnd) {
    const auto empty = decode("", "x.edt");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(lineOf(empty[0]), "[0000001] ");

    // 200 of 480 bytes: under half a record, still one entry, read to its end as zeros.
    const auto tiny = decode(std::string(200, '\x42'), "x.edt");
    ASSERT_EQ(tiny.size(), 1u);
    EXPECT_EQ(tiny[0].text, std::string(200, 'A'));

    // 720 bytes round to two records; the second runs past the end of the file.
    const auto partial = decode(std::string(720, '\x42'), "x.edt");
    ASSERT_EQ(partial.size(), 2u);
    EXPECT_EQ(partial[1].text, std::string(240, 'A'));
}

// Every prefix of a file decodes without reading past its end (the buffer ends
// exactly where the prefix does, so sanitizers see any over-read).
TEST(Decode, EveryPrefixOfAFileDecodes) {
    const FileKind kind = kindForFileName("mercbios.edt");
    const std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 6));
    for (std::size_t size = 0; size <= image.size(); size += 7) {
        std::vector<unsigned char> exact(image.begin(), image.begin() + size);
        const auto entries = decodeEntries(exact.data(), exact.size(), kind);
        EXPECT_EQ(entries.size(), EntryLayout(kind, size).entryCount());
    }
}

TEST(ReadFile, StreamsLargeFilesLikeTheImageInMemory) {
    // 2.4 MB of 480-byte records: blocks of whole records across several reads.
    const FileKind kind = kindForFileName("strings.edt");
    const std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 5000));
    test::TempDir dir;
    const std::string path = dir.file("strings.edt");
    test::writeBytes(path, image + "\x42\x42"); // plus a trailing scrap that rounds away

    const ReadResult result = readFile(path, kind);
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    EXPECT_EQ(result.kind.limitCaption, "Record Length (Max 235):");
    EXPECT_EQ(result.identity.size, image.size() + 2);
    EXPECT_EQ(result.entries, decode(image, "strings.edt"));
    EXPECT_EQ(result.entries.size(), 5000u);
}

// On several threads, blocks of 1, 7 and 1000 records (slots reused many times), a
// split kind cut in the middle of a record: every entry once, in file order.
TEST(ReadFile, InParallelVisitsEveryEntryInFileOrder) {
    const FileKind kind = kindForFileName("mercbios.edt");
    const std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 3001)) + "\x42";
    test::TempDir dir;
    const std::string path = dir.file("mercbios.edt");
    test::writeBytes(path, image);
    for (const std::size_t recordsPerBlock : {1, 7, 1000}) {
        std::vector<std::vector<std::pair<std::uint64_t, EntryLine>>> slots(parallelSlots());
        std::vector<EntryLine> lines;
        const Status status = visitEntryBytesInParallel(
            path, kind, recordsPerBlock,
            [&](std::size_t slot, std::uint64_t index, RecordKey key, const unsigned char* bytes,
                std::size_t available, std::size_t length) {
                slots[slot].push_back({index, {key, decodeEntry(bytes, available, length)}});
            },
            [&](std::size_t slot) {
                for (const auto& [index, line] : slots[slot]) {
                    EXPECT_EQ(index, lines.size());
                    lines.push_back(line);
                }
                slots[slot].clear();
            });
        ASSERT_TRUE(status.ok()) << describe(status);
        EXPECT_EQ(lines, decode(image, "mercbios.edt")) << recordsPerBlock;
    }
}

TEST(ReadFile, SeventyThousandQuestsListWithEightDigitKeys) {
    const FileKind kind = kindForFileName("quests.edt");
    std::vector<std::string> texts(70000);
    texts.back() = "last quest";
    test::TempDir dir;
    const std::string path = dir.file("quests.edt");
    test::writeBytes(path, samples::makeImage(kind, texts));
    const ReadResult result = readFile(path, kind);
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    ASSERT_EQ(result.entries.size(), 70000u);
    EXPECT_EQ(lineOf(result.entries.back()), "[11199841] last quest");
}

TEST(ReadFile, ChoosesTheKindFromTheTitleNotThePath) {
    test::TempDir dir;
    const std::string path = dir.file("data.bin");
    test::writeBytes(path, std::string(640, '\0'));
    const ReadResult asEmail = readFile(path, kindForPath("EMAIL.EDT"));
    EXPECT_EQ(asEmail.entries.size(), 1u);
    EXPECT_EQ(asEmail.kind.recordLength, 640);
}

TEST(ReadFile, FailuresNameTheFileAndReason) {
    test::TempDir dir;
    const ReadResult missing = readFile(dir.file("gone.edt"), kindForPath("gone.edt"));
    EXPECT_EQ(missing.status.code, StatusCode::SystemError);
    EXPECT_TRUE(test::says(missing.status, "gone.edt"));
    EXPECT_TRUE(test::says(missing.status, "No such file"));
    EXPECT_TRUE(missing.entries.empty());
    EXPECT_EQ(missing.kind.recordLength, 480); // the kind is known even so

    const ReadResult folder = readFile(dir.path(), kindForPath("x"));
    EXPECT_EQ(folder.status.code, StatusCode::SystemError);
    EXPECT_TRUE(test::says(folder.status, "folder"));
}

} // namespace
} // namespace edt
