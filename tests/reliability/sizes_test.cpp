// SPDX-License-Identifier: GPL-3.0-or-later
// File sizes at the edges: every prefix of a file (the listing of a file cut short
// anywhere), a file above the listing limit, and writes at the far end of a huge
// sparse file, where keys have more than seven digits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
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
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::decodeEntries;
using test::TempDir;

const char* const kKindNames[] = {"strings.edt", "email.edt",  "aimbios.edt",
                                  "files.edt",   "quests.edt", "civ"};

// Every prefix of a file of three records lists the same from memory as from the
// file; in memory the prefix ends at the end of its allocation, so the sanitizer
// build catches any read past it.
TEST(Sizes, EveryPrefixListsTheSameFromMemoryAndFromTheFile) {
    TempDir dir;
    for (const char* name : kKindNames) {
        SCOPED_TRACE(name);
        const FileKind kind = kindForFileName(name);
        const std::string image =
            samples::makeImage(kind, samples::sampleTexts(kind, 3 * kind.entriesPerRecord()), 'z');
        const std::string path = dir.file(name);
        for (std::size_t size = 0; size <= image.size(); ++size) {
            const std::unique_ptr<unsigned char[]> prefix(new unsigned char[size]);
            std::copy(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size),
                      prefix.get());
            const std::vector<EntryLine> fromMemory = decodeEntries(prefix.get(), size, kind);
            // Reading the file is slower; every 37th size and the last few suffice.
            if (size % 37 != 0 && size + 3 < image.size())
                continue;
            test::writeBytes(path, image.substr(0, size));
            const ReadResult read = readFile(path, kind);
            ASSERT_TRUE(read.status.ok()) << describe(read.status);
            ASSERT_EQ(read.entries, fromMemory) << "prefix of " << size << " bytes";
        }
    }
}

TEST(Sizes, ListingLimitIsExact) {
    TempDir dir;
    const std::string path = dir.file("strings.edt");
    test::writeBytes(path, "");
    if (::truncate(path.c_str(), static_cast<off_t>(kMaxListedFileSize)) != 0)
        GTEST_SKIP() << "no sparse files here";
    EXPECT_TRUE(readFile(path, kindForPath("strings.edt")).status.ok());
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxListedFileSize + 1)), 0);
    const ReadResult read = readFile(path, kindForPath("strings.edt"));
    EXPECT_EQ(read.status.code, StatusCode::FileTooLarge);
    EXPECT_TRUE(read.entries.empty());
    const test::ToolRun list = test::runTool({"list", path});
    EXPECT_EQ(list.code, 1);
    EXPECT_TRUE(list.out.empty()) << "no caption before the refusal";
    EXPECT_TRUE(test::says(list.err, "is 1.1 GB; files above 1 GB are not listed"));
}

// Where the data of a sparse file lies: [start, end) runs.
std::vector<std::pair<off_t, off_t>> dataRuns(const std::string& path) {
    std::vector<std::pair<off_t, off_t>> runs;
    const int fd = ::open(path.c_str(), O_RDONLY);
    off_t pos = 0;
    while (true) {
        const off_t data = ::lseek(fd, pos, SEEK_DATA);
        if (data < 0)
            break;
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        runs.emplace_back(data, hole);
        pos = hole;
    }
    ::close(fd);
    return runs;
}

TEST(Sizes, WritesAtBothEndsOfAHugeSparseFile) {
    TempDir dir;
    const std::string path = dir.file("quests.edt");
    const off_t size = off_t{1} << 40; // 1 TiB of holes: 6,871,947,673 entries
    test::writeBytes(path, "");
    if (::truncate(path.c_str(), size) != 0)
        GTEST_SKIP() << "this file system cannot hold a 1 TiB sparse file";
    const FileKind kind = kindForFileName("quests.edt");
    const EntryLayout layout(kind, static_cast<std::uint64_t>(size));
    const RecordKey last = layout.keyOf(layout.entryCount() - 1);
    ASSERT_EQ(last, 1099511627681u); // 13 digits
    ASSERT_EQ(layout.indexOfKey(last + 160), -1);

    const WriteResult first = writeRecord(path, kind, 1, "first", test::codePage());
    ASSERT_TRUE(first.status.ok()) << describe(first.status);
    const test::ToolRun tool = test::runTool({"write", path, formatKey(last), "last"});
    ASSERT_EQ(tool.code, 0) << tool.err;
    EXPECT_EQ(tool.out, "[1099511627681] last\n");
    const test::ToolRun past = test::runTool({"write", path, std::to_string(last + 160), "x"});
    EXPECT_EQ(past.code, 1);

    // The length is kept; the bytes written are where they belong.
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, size);
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::string head(14, '?'), tail(12, '?');
    ASSERT_EQ(::pread(fd, head.data(), head.size(), 0), 14);
    ASSERT_EQ(::pread(fd, tail.data(), tail.size(), static_cast<off_t>(last - 1)), 12);
    ::close(fd);
    EXPECT_EQ(head, encodeText("first"));
    EXPECT_EQ(tail, encodeText("last"));
    // Nothing else holds data: two runs (a page or so each) at the two ends.
    const auto runs = dataRuns(path);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first, 0);
    EXPECT_LE(runs[0].second, 65536);
    EXPECT_LE(runs[1].first, static_cast<off_t>(last - 1));
    EXPECT_GE(runs[1].first, size - 65536);
    EXPECT_EQ(runs[1].second, size);
}

} // namespace
} // namespace edt
