// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/entry_line.h"

namespace edt {
namespace {

TEST(EntryLine, KeysShowAtLeastSevenDigits) {
    EXPECT_EQ(formatKey(641), "0000641");
    EXPECT_EQ(formatKey(1), "0000001");
    EXPECT_EQ(formatKey(9999999), "9999999");
    EXPECT_EQ(formatKey(12345678), "12345678");
    EXPECT_EQ((EntryLine{641, "Hi!"}.str()), "[0000641] Hi!");
}

TEST(EntryLine, EmptyTextLineIsTenCharactersAndParsesBack) {
    const std::string line = EntryLine{481, ""}.str();
    EXPECT_EQ(line.size(), 10u);
    const auto parsed = EntryLine::parse(line);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->key, 481u);
    EXPECT_EQ(parsed->text, "");
}

TEST(EntryLine, ParsingKeepsEverythingAfterTheSeparator) {
    const auto twoBlanks = EntryLine::parse("[0000641]   Hi");
    ASSERT_TRUE(twoBlanks);
    EXPECT_EQ(twoBlanks->text, "  Hi");
    const auto withBracket = EntryLine::parse("[0000001] a] b\r\n[c]");
    ASSERT_TRUE(withBracket);
    EXPECT_EQ(withBracket->text, "a] b\r\n[c]");
}

TEST(EntryLine, LongKeysComeBackIntact) {
    for (RecordKey key : {RecordKey{10000001}, RecordKey{123456789012}}) {
        const auto parsed = EntryLine::parse(EntryLine{key, "x"}.str());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->key, key);
        EXPECT_EQ(parsed->text, "x");
    }
}

TEST(EntryLine, MalformedLinesAreNotParsed) {
    for (const char* bad : {"", "[", "[]", "[] x", "0000641] x", "[0000641]x", "[0000641]",
                            "[00a0641] x", "[99999999999999999999999] x"}) {
        EXPECT_FALSE(EntryLine::parse(bad)) << bad;
    }
}

} // namespace
} // namespace edt
