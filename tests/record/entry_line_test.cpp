// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/entry_line.h"
#include "tests/support/entry_lines.h"

namespace edt {
namespace {

using test::lineOf;
using test::parseLine;

TEST(EntryLine, KeysShowAtLeastSevenDigits) {
    EXPECT_EQ(formatKey(641), "0000641");
    EXPECT_EQ(formatKey(1), "0000001");
    EXPECT_EQ(formatKey(9999999), "9999999");
    EXPECT_EQ(formatKey(12345678), "12345678");
    EXPECT_EQ(lineOf(EntryLine{641, "Hi!"}), "[0000641] Hi!");
}

TEST(EntryLine, EmptyTextLineIsTenCharactersAndParsesBack) {
    const std::string line = lineOf(EntryLine{481, ""});
    EXPECT_EQ(line.size(), 10u);
    const auto parsed = parseLine(line);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->key, 481u);
    EXPECT_EQ(parsed->text, "");
}

TEST(EntryLine, ParsingKeepsEverythingAfterTheSeparator) {
    const auto twoBlanks = parseLine("[0000641]   Hi");
    ASSERT_TRUE(twoBlanks);
    EXPECT_EQ(twoBlanks->text, "  Hi");
    const auto withBracket = parseLine("[0000001] a] b\r\n[c]");
    ASSERT_TRUE(withBracket);
    EXPECT_EQ(withBracket->text, "a] b\r\n[c]");
}

TEST(EntryLine, LongKeysComeBackIntact) {
    for (RecordKey key : {RecordKey{10000001}, RecordKey{123456789012}}) {
        const auto parsed = parseLine(lineOf(EntryLine{key, "x"}));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->key, key);
        EXPECT_EQ(parsed->text, "x");
    }
}

TEST(EntryLine, MalformedLinesAreNotParsed) {
    for (const char* bad : {"", "[", "[]", "[] x", "0000641] x", "[0000641]x", "[0000641]",
                            "[00a0641] x", "[99999999999999999999999] x"}) {
        EXPECT_FALSE(parseLine(bad)) << bad;
    }
}

} // namespace
} // namespace edt
