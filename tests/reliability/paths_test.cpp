// SPDX-License-Identifier: GPL-3.0-or-later
// Unusual but valid paths: blanks, non-ASCII and invalid UTF-8 names, a path close to
// PATH_MAX, symbolic links (to the file, in a folder of the path, in a chain) and
// hard links. Each lists and takes a write, through the core and through edt-tool;
// the write changes the one entry of the file the path leads to, in place.
#include <climits>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

struct PathCase {
    const char* name;
    // Makes the file and returns {the path to give, the file it leads to}.
    std::pair<std::string, std::string> (*make)(const TempDir& dir, const std::string& image);
    const char* kindName; // the file name that chooses the kind
};

std::string makeFolders(const std::string& path) {
    std::size_t from = 1;
    while (true) {
        const std::size_t slash = path.find('/', from);
        if (slash == std::string::npos)
            return path;
        ::mkdir(path.substr(0, slash).c_str(), 0755);
        from = slash + 1;
    }
}

std::pair<std::string, std::string> plainFile(const std::string& path, const std::string& image) {
    makeFolders(path);
    test::writeBytes(path, image);
    return {path, path};
}

const PathCase kPaths[] = {
    {"blanks in folder and name",
     [](const TempDir& d, const std::string& image) {
         return plainFile(d.file("my game/text files/civ names.edt"), image);
     },
     "civ names.edt"},
    {"non-ASCII folder and name",
     [](const TempDir& d, const std::string& image) {
         return plainFile(d.file("Übersetzung – 翻訳/Civ Ärger ✓.edt"), image);
     },
     "civ"},
    {"name that is not valid UTF-8",
     [](const TempDir& d, const std::string& image) {
         return plainFile(d.file("\xff\xfe folder/EMAIL.EDT"), image);
     },
     "email.edt"},
    {"name starting with a dash",
     [](const TempDir& d, const std::string& image) {
         return plainFile(d.file("-quests.edt"), image);
     },
     "-quests.edt"},
    {"path a little shorter than PATH_MAX",
     [](const TempDir& d, const std::string& image) {
         std::string path = d.path();
         const std::string folder(250, 'd');
         while (path.size() + folder.size() + 20 < PATH_MAX - 1)
             path += "/" + folder;
         path += "/" + std::string(PATH_MAX - 1 - path.size() - 1 - 10, 'p') + "/files.edt";
         EXPECT_EQ(path.size(), PATH_MAX - 1u);
         return plainFile(path, image);
     },
     "files.edt"},
    {"symbolic link to the file",
     [](const TempDir& d, const std::string& image) {
         plainFile(d.file("data/stored.bin"), image);
         ::symlink("data/stored.bin", (d.file("email.edt")).c_str());
         return std::make_pair(d.file("email.edt"), d.file("data/stored.bin"));
     },
     "email.edt"},
    {"absolute symbolic link in a chain of two",
     [](const TempDir& d, const std::string& image) {
         plainFile(d.file("stored.bin"), image);
         ::symlink((d.file("stored.bin")).c_str(), (d.file("middle")).c_str());
         ::symlink("middle", (d.file("aimbios.edt")).c_str());
         return std::make_pair(d.file("aimbios.edt"), d.file("stored.bin"));
     },
     "aimbios.edt"},
    {"symbolic link to a folder of the path",
     [](const TempDir& d, const std::string& image) {
         plainFile(d.file("real folder/mercbios.edt"), image);
         ::symlink("real folder", (d.file("linked")).c_str());
         return std::make_pair(d.file("linked/mercbios.edt"), d.file("real folder/mercbios.edt"));
     },
     "mercbios.edt"},
    {"hard link",
     [](const TempDir& d, const std::string& image) {
         plainFile(d.file("original.edt"), image);
         ::link((d.file("original.edt")).c_str(), (d.file("quests.edt")).c_str());
         return std::make_pair(d.file("quests.edt"), d.file("original.edt"));
     },
     "quests.edt"},
    {"dots and double slashes",
     [](const TempDir& d, const std::string& image) {
         plainFile(d.file("a/b/email.edt"), image);
         return std::make_pair(d.path() + "/a/./b/..//b/email.edt", d.file("a/b/email.edt"));
     },
     "email.edt"},
};

// Names the case in test output (instead of its bytes).
void PrintTo(const PathCase& c, std::ostream* out) {
    *out << c.name;
}

class Paths : public ::testing::TestWithParam<PathCase> {};

TEST_P(Paths, ListAndWriteInPlace) {
    TempDir dir;
    const FileKind kind = kindForFileName(GetParam().kindName);
    const std::string image = samples::makeImage(kind, samples::sampleTexts(kind, 4), '.');
    const auto [path, target] = GetParam().make(dir, image);
    ASSERT_EQ(fileTitleOf(path).empty(), false);
    ASSERT_EQ(kindForFileName(fileTitleOf(path)).recordLength, kind.recordLength)
        << "the case's name chooses its kind";
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    struct stat linkBefore {};
    ASSERT_EQ(::lstat(path.c_str(), &linkBefore), 0);

    // Core: list, then write the second entry with the listing's identity.
    const ReadResult read = readFile(path, kind);
    ASSERT_TRUE(read.status.ok()) << describe(read.status);
    ASSERT_EQ(read.entries, decodeEntries(reinterpret_cast<const unsigned char*>(image.data()),
                                          image.size(), kind));
    const RecordKey second = read.entries[1].key;
    const WriteResult written = writeRecord(path, kind, second,
                                            "\xdc"
                                            "ber",
                                            test::codePage(), &read.identity);
    ASSERT_TRUE(written.status.ok()) << describe(written.status);

    // edt-tool: list, then write the first entry.
    const test::ToolRun list = test::runTool({"list", path});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_TRUE(test::says(list.out, "[" + formatKey(second) + "] Über\n"));
    const test::ToolRun write = test::runTool({"write", path, "1", "caf\xc3\xa9\\r\\n"});
    EXPECT_EQ(write.code, 0) << write.err;
    EXPECT_EQ(write.out, "[0000001] café\\r\\n\n");

    // Exactly those two entries changed, in the file the path leads to, in place.
    std::string expected = image;
    expected.replace(second - 1, 12,
                     encodeText("\xdc"
                                "ber"));
    expected.replace(0, 16, encodeText("caf\xe9\r\n"));
    EXPECT_TRUE(test::readBytes(target) == expected) << "bytes outside the two entries changed";
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_EQ(after.st_mode, before.st_mode);
    struct stat linkAfter {};
    ASSERT_EQ(::lstat(path.c_str(), &linkAfter), 0);
    EXPECT_EQ(linkAfter.st_mode, linkBefore.st_mode) << "a link stays a link";
    EXPECT_EQ(linkAfter.st_ino, linkBefore.st_ino);
}

std::string pathName(const ::testing::TestParamInfo<PathCase>& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Kinds, Paths, ::testing::ValuesIn(kPaths), pathName);

} // namespace
} // namespace edt
