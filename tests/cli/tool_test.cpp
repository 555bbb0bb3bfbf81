// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "cli/tool.h"
#include "record/escaped_text.h"
#include "record/message.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::runTool;
using test::ToolRun;

TEST(Escape, ControlAndUndefinedBytesAreEscapedAndComeBack) {
    const std::string text = std::string("a\\b\r\n\t\x01\x1F\x7F\x81\x8D\x8F\x90\x9D \xE9\x80");
    const std::string escaped = test::escaper().escape(text);
    EXPECT_EQ(escaped,
              "a\\\\b\\r\\n\\t\\x01\\x1f\\x7f\\x81\\x8d\\x8f\\x90\\x9d \xC3\xA9\xE2\x82\xAC");
    std::string back;
    ASSERT_TRUE(test::escaper().unescape(escaped, back).ok());
    EXPECT_EQ(back, text);
}

TEST(Escape, RefusesBadEscapesAndForeignCharacters) {
    std::string text;
    EXPECT_FALSE(test::escaper().unescape("\\q", text).ok());
    EXPECT_FALSE(test::escaper().unescape("\\x4", text).ok());
    EXPECT_FALSE(test::escaper().unescape("trailing\\", text).ok());
    const Status foreign = test::escaper().unescape("\xE4\xB8\xAD", text);
    EXPECT_TRUE(test::says(foreign, "U+4E2D"));
}

class ToolTest : public testing::Test {
protected:
    std::string make(const std::string& name, const std::vector<std::string>& texts) {
        const std::string path = dir_.file(name);
        test::writeBytes(path, samples::makeImage(kindForFileName(name), texts));
        return path;
    }
    test::TempDir dir_;
};

TEST_F(ToolTest, ListPrintsCaptionThenEscapedLines) {
    const std::string path = make("mercbios.edt", {"Hi!", "two\r\nlines", "", "caf\xE9 \\o/"});
    const ToolRun run = runTool({"list", path});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Record Length (Max 395/150):\n"
                       "[0000001] Hi!\n"
                       "[0000801] two\\r\\nlines\n"
                       "[0001121] \n"
                       "[0001921] caf\xC3\xA9 \\\\o/\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ToolTest, WriteStoresTextAndPrintsTheNewLine) {
    const std::string path = make("email.edt", {"one", "two", "three"});
    const ToolRun run = runTool({"write", path, "0000000000000000000641", "H\xC3\xA9\\r\\n!"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "[0000641] H\xC3\xA9\\r\\n!\n");
    EXPECT_EQ(test::readBytes(path).substr(640, 12),
              test::bytesOf({0x49, 0, 0xEA, 0, 0x0D, 0, 0x0A, 0, 0x22, 0, 0, 0}));
    EXPECT_NE(runTool({"list", path}).out.find("[0000641] H\xC3\xA9\\r\\n!\n"), std::string::npos);
}

TEST_F(ToolTest, RefusalsExitOneAndLeaveTheFileAlone) {
    const std::string path = make("quests.edt", {"a", "b"});
    const std::string before = test::readBytes(path);
    const std::vector<std::vector<std::string>> refused = {
        {"write", path, "0000162", "x"}, // inside an entry
        {"write", path, "0", "x"},       // no entry at 0
        {"write", path, "abc", "x"},     // not a number
        {"write", path, "-1", "x"},
        {"write", path, "18446744073709551617", "x"},  // 2^64 + 1
        {"write", path, "1", std::string(79, 'x')},    // 79 > 78 characters
        {"write", path, "1", "\xC3\xBF"},              // U+00FF has no stored form
        {"write", path, "1", "\\x00"},                 // nor has code 0
        {"write", path, "1", "\xE4\xB8\xAD"},          // not in Windows-1252
        {"write", path, "1", "\\z"},                   // unknown escape
        {"write", dir_.file("missing.edt"), "1", "x"}, // no such file
        {"write", dir_.path(), "1", "x"},              // a folder
        {"list", dir_.file("missing.edt")},
        {"list", dir_.path()},
        {"check", dir_.path(), path}, // a folder's translations are a folder
        {"stats", dir_.file("missing.edt"), dir_.file("missing.po")},
        {"export", dir_.path(), "--language", "pl", "-o", path}, // into a file
    };
    for (const auto& args : refused) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.code, 1) << args[0] << " " << args[2];
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_NE(runTool({"write", path, "1", std::string(79, 'x')}).err.find("at most 78"),
              std::string::npos);
}

TEST_F(ToolTest, UsageHelpAndVersion) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"list"},
             {"write", "f", "1"},
             {"frobnicate"},
             {"update", "f"},
             {"stats", "f"},
             {"stats", "f", "g", "--format", "po"},
             {"export", "f", "--language", "pl", "--format", "csv"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(test::says(run.err, "Usage"));
    }
    EXPECT_TRUE(test::says(runTool({"export", "f", "--language", "pl-PL"}).err, "not a language"));
    EXPECT_EQ(runTool({"--version"}).out, "edt-tool 1.0.1\n");
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(test::says(help.out, "list FILE"));
}

TEST_F(ToolTest, SeventyThousandQuestRecordsListWholeAndTakeAWriteAtTheLastKey) {
    std::vector<std::string> texts(70000, "q");
    const std::string path = make("quests.edt", texts);
    const ToolRun list = runTool({"list", path});
    ASSERT_EQ(list.code, 0);
    std::size_t lines = 0;
    for (char c : list.out)
        lines += c == '\n';
    EXPECT_EQ(lines, 70001u);
    EXPECT_TRUE(test::says(list.out, "\n[11199841] q\n"));

    const std::string before = test::readBytes(path);
    const ToolRun write = runTool({"write", path, "11199841", "end"});
    ASSERT_EQ(write.code, 0) << write.err;
    EXPECT_EQ(write.out, "[11199841] end\n");
    const std::string after = test::readBytes(path);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(11199840, 10), test::bytesOf({0x66, 0, 0x6F, 0, 0x65, 0, 0, 0, 0, 0}));
    EXPECT_EQ(after.substr(0, 11199840), before.substr(0, 11199840));
    EXPECT_EQ(after.substr(11199850), before.substr(11199850));
}

} // namespace
} // namespace edt
